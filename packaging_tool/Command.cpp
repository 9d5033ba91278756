#include "packaging_tool/Command.h"

#include "packaging_tool/WrappedText.h"

#include <ostream>

namespace KX::PluginPackagingTool {

Command::Command() : options("Options", 80, 40) {}

boost::program_options::options_description&
Command::addOptions(boost::program_options::options_description& all) const {
    all.add(options);
    return all;
}

void Command::printHelpPage(const std::string& programName, std::ostream& out, std::string_view usageLine,
                            const std::string& helpText) const {
    out << programName << usageLine;
    printWrappedText(out, helpText, 2, 78);
    out << options;
    out << '\n';
}

std::string packageDisplayPrefix(const std::string& directory) {
    if (directory.empty() || directory.ends_with('/') || directory.ends_with('\\'))
        return directory;
    return directory + "/";
}

} // namespace KX::PluginPackagingTool
