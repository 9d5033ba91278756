#include "packaging_tool/SignPackageCommand.h"

#include "core/Errors.h"

#include <boost/program_options/value_semantic.hpp>

namespace KX::PluginPackagingTool {

namespace po = boost::program_options;

SignPackageCommand::SignPackageCommand() {
    options.add_options()                                                                                      //
        ("package,p", po::value<std::string>(&package)->required(), "a path to a plugin directory or to a package") //
        ("certificate,c", po::value<std::vector<std::string>>(&certificates)->required(),
         "path to certificate, may be specified several times")                                               //
        ("private-key,k", po::value<std::string>(&privateKey)->required(), "a path to a private key")         //
        ("passphrase,s", po::value<std::string>(&passphrase), "a secret passphrase to decrypt the private key");
}

const char* SignPackageCommand::description() const { return "Sign a package or plugin"; }

void SignPackageCommand::printHelp(const std::string& programName, std::ostream& out) const {
    static const std::string helpText =
        "Sign a package passed by the --package option. The package is a directory or a zip file. Private key is "
        "a mandatory. If it is protected by a passphrase, the --passphrase option should contain the password. "
        "Certificates are passed by the --certificate options and verified using a trust store. The trust store "
        "is supplied with the application\n";
    printHelpPage(programName, out,
                  std::string(" sign --package=${package} --certificate=${certificate path} ") +
                      "--private-key=${private key path} --passphrase=${passphrase} \n\n",
                  helpText);
}

void SignPackageCommand::execute() { throw BaseRuntimeError("the sign command is not available yet"); }

} // namespace KX::PluginPackagingTool
