#include "tools/office-sign/OfficeSignTool.h"

#include "tools/office-sign/Commands.h"

#include <boost/program_options.hpp>
#include <fmt/format.h>
#include <iostream>
#include <map>

namespace KX::OfficeSign {

namespace po = boost::program_options;

namespace {

using CommandFunction = int (*)(const ToolOptions&);

const std::map<std::string, CommandFunction>& commandTable() {
    static const std::map<std::string, CommandFunction> table{
        {"list", listSignatures},
        {"verify", verifySignatures},
        {"sign", signDocument},
        {"remove", removeSignatures},
    };
    return table;
}

void printUsage(const std::string& program, std::ostream& out) {
    out << fmt::format(
        "Usage:\n"
        "  {0} list DOC [--json]\n"
        "  {0} verify DOC [--trust-store=PEM] [--json]\n"
        "  {0} sign DOC --out=FILE --certificate=CERT --private-key=KEY [--passphrase=TEXT]\n"
        "      [--trust-store=PEM] [--form=XAdES|XAdES_BES|XAdES_T] [--tsa=URL]\n"
        "      [--signature-line-text=TEXT]\n"
        "  {0} remove DOC --out=FILE [--index=N]...\n"
        "  {0} --help | --version\n"
        "\n"
        "Lists, verifies, signs and unsigns the XAdES signatures of OpenDocument and Office Open XML\n"
        "documents. The trust store defaults to Resources/CACertificatesStore.pem beside the program.\n"
        "FILE may be DOC; it is replaced only by a result whose new signature verifies.\n",
        program);
}

po::options_description describeOptions(ToolOptions& options, std::string& command) {
    po::options_description all("Options");
    all.add_options()                                                 //
        ("help", "print this message")                                //
        ("version", "the application version")                        //
        ("command", po::value<std::string>(&command))                 //
        ("document", po::value<std::string>(&options.document))       //
        ("json", po::bool_switch(&options.json))                      //
        ("out", po::value<std::string>(&options.out))                 //
        ("certificate", po::value<std::string>(&options.certificate)) //
        ("private-key", po::value<std::string>(&options.privateKey))  //
        ("passphrase", po::value<std::string>())                      //
        ("trust-store", po::value<std::string>())                     //
        ("form", po::value<std::string>(&options.form))               //
        ("tsa", po::value<std::string>())                             //
        ("signature-line-text", po::value<std::string>())             //
        ("index", po::value<std::vector<int>>(&options.indices));
    return all;
}

void takeOptional(const po::variables_map& values, const char* name, std::optional<std::string>& target) {
    if (values.count(name))
        target = values[name].as<std::string>();
}

// The options each command needs, in the order they are checked.
void requireOptions(const std::string& command, const po::variables_map& values) {
    if (!values.count("document"))
        throw po::error("the document to work on is missing");
    std::vector<const char*> required;
    if (command == "sign")
        required.insert(required.end(), {"out", "certificate", "private-key"});
    if (command == "remove")
        required.push_back("out");
    for (const char* name : required)
        if (!values.count(name))
            throw po::required_option(std::string("--") + name);
}

} // namespace

int runOfficeSign(const std::string& programName, const std::vector<std::string>& arguments) {
    ToolOptions options;
    std::string command;
    const auto all = describeOptions(options, command);
    po::positional_options_description positional;
    positional.add("command", 1).add("document", 1);
    try {
        po::variables_map values;
        po::store(po::command_line_parser(arguments).options(all).positional(positional).run(), values);
        po::notify(values);
        if (values.count("version")) {
            std::cout << banner << fmt::format(" ({})", version) << "\n";
            return 0;
        }
        if (values.count("help")) {
            std::cout << banner << "\n\n";
            printUsage(programName, std::cout);
            return 0;
        }
        const auto found = commandTable().find(command);
        if (found == commandTable().end()) {
            std::cerr << "ERROR: unknown command\n\n";
            printUsage(programName, std::cout);
            return 1;
        }
        requireOptions(command, values);
        takeOptional(values, "passphrase", options.passphrase);
        takeOptional(values, "trust-store", options.trustStore);
        takeOptional(values, "tsa", options.tsa);
        takeOptional(values, "signature-line-text", options.signatureLineText);
        return found->second(options);
    } catch (const po::error& e) {
        std::cerr << "ERROR: " << e.what() << "\n\n";
        printUsage(programName, std::cout);
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "ERROR: " << e.what() << "\nThe command is aborted.\n";
        return 1;
    } catch (...) {
        std::cerr << "ERROR: unrecognized exception has been thrown\n";
        return 1;
    }
}

} // namespace KX::OfficeSign
