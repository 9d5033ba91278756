#include "CliRunner.h"

#include <gtest/gtest.h>

using KX::Testing::runXpk;

namespace {

const std::string usage = "Usage:\n"
                          "xpk command [options]\n"
                          "\n"
                          "Commands:\n"
                          "  create          Creates a package from the source directory\n"
                          "  deletesignature Delete signature from a package or plugin\n"
                          "  sign            Sign a package or plugin\n"
                          "Options:\n"
                          "  --help                print this message\n"
                          "  --version             the application version\n"
                          "\n"
                          "(use 'xpk command --help' to view help for particular command)\n"
                          "\n";

const std::string createHelp =
    "xpk create --source=${plugin directory} --package=${package name}\n"
    "\n"
    "  Creates a package from the directory defined by the --source option. If the\n"
    "  option --package is missed, then the source directory name will be used as a\n"
    "  package name. If destination file is exist, the command will be failed. Use\n"
    "  the --delete option to silently removing destination file. Package file is\n"
    "  always created with '.xpk' extension. If the package is signed, the digest\n"
    "  of the package will be verified. If the verification fails, the package will\n"
    "  be not created.\n"
    "\n"
    "Options:\n"
    "  -s [ --source ] arg   path to plugin directory\n"
    "  -p [ --package ] arg  package name\n"
    "  -d [ --delete ]       delete existing package silently\n"
    "\n";

const std::string signHelp =
    "xpk sign --package=${package} --certificate=${certificate path} --private-key=${private key path} "
    "--passphrase=${passphrase} \n"
    "\n"
    "  Sign a package passed by the --package option. The package is a directory or\n"
    "  a zip file. Private key is a mandatory. If it is protected by a passphrase,\n"
    "  the --passphrase option should contain the password. Certificates are passed\n"
    "  by the --certificate options and verified using a trust store. The trust\n"
    "  store is supplied with the application\n"
    "\n"
    "Options:\n"
    "  -p [ --package ] arg     a path to a plugin directory or to a package\n"
    "  -c [ --certificate ] arg path to certificate, may be specified several times\n"
    "  -k [ --private-key ] arg a path to a private key\n"
    "  -s [ --passphrase ] arg  a secret passphrase to decrypt the private key\n"
    "\n";

const std::string deleteHelp =
    "xpk deletesignature --package=${package}\n"
    "\n"
    "  Delete signature files from a package passed by the --package option. The\n"
    "  package is a directory or a zip file.\n"
    "\n"
    "Options:\n"
    "  -p [ --package ] arg  a path to a plugin directory or to a package\n"
    "\n";

const std::string banner = "Ordova Extension Packaging Tool";

void expectRun(const std::vector<std::string>& args, const std::string& out, const std::string& err, int status) {
    const auto result = runXpk(args);
    EXPECT_EQ(result.out, out);
    EXPECT_EQ(result.err, err);
    EXPECT_EQ(result.status, status);
}

} // namespace

TEST(CliFrontEnd, NoArgumentsIsAnUnknownCommand) {
    expectRun({}, usage, "ERROR: unknown command\n\n", 1);
    expectRun({"pack"}, usage, "ERROR: unknown command\n\n", 1);
}

TEST(CliFrontEnd, VersionWinsOverEverything) {
    const std::string version = banner + " (2.6E)\n";
    expectRun({"--version"}, version, "", 0);
    expectRun({"--help", "--version"}, version, "", 0);
    expectRun({"sign", "--version", "--bogus=1"}, version, "", 0);
}

TEST(CliFrontEnd, HelpPages) {
    expectRun({"--help"}, banner + "\n\n" + usage, "", 0);
    expectRun({"--help", "nosuchcommand"}, banner + "\n\n" + usage, "", 0);
    // A command's help does not parse or require the command's options.
    expectRun({"create", "--help"}, banner + "\n\n" + createHelp, "", 0);
    expectRun({"--help", "sign"}, banner + "\n\n" + signHelp, "", 0);
    expectRun({"deletesignature", "--help"}, banner + "\n\n" + deleteHelp, "", 0);
}

TEST(CliFrontEnd, ParseErrorsOfTheFirstPassShowTheUsage) {
    // A value as a separate argument becomes a second positional argument.
    expectRun({"create", "--source", "plugin"}, usage,
              "ERROR: too many positional options have been specified on the command line\n\n", 1);
}

TEST(CliFrontEnd, ParseErrorsOfTheSecondPassShowTheCommandHelp) {
    expectRun({"create", "--frobnicate=1"}, createHelp, "ERROR: unrecognised option '--frobnicate=1'\n\n", 1);
    expectRun({"create"}, createHelp, "ERROR: the option '--source' is required but missing\n\n", 1);
    expectRun({"deletesignature", "-pa", "-pb"}, deleteHelp,
              "ERROR: option '--package' cannot be specified more than once\n\n", 1);
    expectRun({"sign", "--package=p", "--private-key=k"}, signHelp,
              "ERROR: the option '--certificate' is required but missing\n\n", 1);
}

TEST(CliFrontEnd, ArgumentsMustBeUtf8) {
    expectRun({"create", "--source=\xff\xfe"}, "", "ERROR: the command-line argument 2 is not valid UTF-8\n", 1);
}
