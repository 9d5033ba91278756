#include "packaging_tool/Usage.h"

#include <iomanip>
#include <iostream>

namespace KX::PluginPackagingTool {

void printUsage(const std::string& programName, const CommandTable& commands, const std::string& optionsText) {
    std::cout << "Usage:\n" << programName << " command [options]\n\n";
    std::cout << "Commands:\n";
    for (const auto& [name, command] : commands)
        std::cout << "  " << std::left << std::setw(16) << name << command->description() << "\n";
    std::cout << optionsText << "\n";
    std::cout << "(use '" << programName << " command --help' to view help for particular command)\n\n";
}

} // namespace KX::PluginPackagingTool
