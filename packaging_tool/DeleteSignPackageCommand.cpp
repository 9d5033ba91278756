#include "packaging_tool/DeleteSignPackageCommand.h"

#include "core/Errors.h"

#include <boost/program_options/value_semantic.hpp>

namespace KX::PluginPackagingTool {

namespace po = boost::program_options;

DeleteSignPackageCommand::DeleteSignPackageCommand() {
    options.add_options()("package,p", po::value<std::string>(&package)->required(),
                          "a path to a plugin directory or to a package");
}

const char* DeleteSignPackageCommand::description() const { return "Delete signature from a package or plugin"; }

void DeleteSignPackageCommand::printHelp(const std::string& programName, std::ostream& out) const {
    static const std::string helpText =
        "Delete signature files from a package passed by the --package option. The package is a directory or a "
        "zip file.\n";
    printHelpPage(programName, out, " deletesignature --package=${package}\n\n", helpText);
}

void DeleteSignPackageCommand::execute() {
    throw BaseRuntimeError("the deletesignature command is not available yet");
}

} // namespace KX::PluginPackagingTool
