#include "tools/office-sign/OfficeSignTool.h"

#include <boost/filesystem/path.hpp>
#include <clocale>
#include <iostream>
#include <utf8.h>

int main(int argc, char** argv) {
    const std::string programName = argc > 0 && argv[0] ? boost::filesystem::path(argv[0]).filename().string()
                                                        : std::string("office-sign");
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        // Bytes that are not UTF-8 could end up in a file name or a signature line.
        if (!utf8::is_valid(argument.begin(), argument.end())) {
            std::cerr << "ERROR: the command-line argument " << i << " is not valid UTF-8\n";
            return 1;
        }
        arguments.push_back(std::move(argument));
    }
    std::setlocale(LC_ALL, "");
    return KX::OfficeSign::runOfficeSign(programName, arguments);
}
