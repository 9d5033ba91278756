#include "core/Path.h"
#include "packaging_tool/ToolMain.h"

#include <utf8.h>

#include <clocale>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Arguments arrive as bytes; the tool works on UTF-8 only, so anything else stops the run before
// it could end up in a file name or a package entry.
bool convertArguments(int argc, char** argv, std::vector<std::string>& arguments) {
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (!utf8::is_valid(argument.begin(), argument.end())) {
            std::cerr << "ERROR: the command-line argument " << i << " is not valid UTF-8\n";
            return false;
        }
        arguments.push_back(std::move(argument));
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const std::string programName =
        argc > 0 && argv[0] ? KX::FileSystem::Path(argv[0]).filename().native() : std::string("xpk");
    std::vector<std::string> arguments;
    if (!convertArguments(argc, argv, arguments))
        return 1;
    if (!std::setlocale(LC_ALL, ""))
        std::cerr << "Warning: setting the default locale failed";
    return KX::PluginPackagingTool::runTool(programName, arguments);
}
