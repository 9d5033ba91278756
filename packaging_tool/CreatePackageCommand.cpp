#include "packaging_tool/CreatePackageCommand.h"

#include "core/Errors.h"

#include <boost/program_options/value_semantic.hpp>

namespace KX::PluginPackagingTool {

namespace po = boost::program_options;

CreatePackageCommand::CreatePackageCommand() {
    options.add_options()                                                                   //
        ("source,s", po::value<std::string>(&source)->required(), "path to plugin directory") //
        ("package,p", po::value<std::string>(&package), "package name")                      //
        ("delete,d", po::bool_switch(&deleteExisting), "delete existing package silently");
}

const char* CreatePackageCommand::description() const { return "Creates a package from the source directory"; }

void CreatePackageCommand::printHelp(const std::string& programName, std::ostream& out) const {
    static const std::string helpText =
        "Creates a package from the directory defined by the --source option. If the option --package is missed, "
        "then the source directory name will be used as a package name. If destination file is exist, the command "
        "will be failed. Use the --delete option to silently removing destination file. Package file is always "
        "created with '.xpk' extension. If the package is signed, the digest of the package will be verified. If "
        "the verification fails, the package will be not created.\n";
    printHelpPage(programName, out, " create --source=${plugin directory} --package=${package name}\n\n", helpText);
}

void CreatePackageCommand::execute() { throw BaseRuntimeError("the create command is not available yet"); }

} // namespace KX::PluginPackagingTool
