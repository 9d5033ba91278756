#include "packaging_tool/ToolMain.h"

#include "packaging_tool/CommandTable.h"
#include "packaging_tool/Usage.h"

#include <boost/program_options.hpp>
#include <fmt/format.h>

#include <iostream>
#include <sstream>

namespace KX::PluginPackagingTool {

namespace po = boost::program_options;

int runTool(const std::string& programName, const std::vector<std::string>& arguments) {
    CommandTable commands = makeCommandTable();

    std::string commandName;
    po::options_description all("Options", 80, 40);
    all.add_options()                                 //
        ("help", "print this message")                //
        ("version", "the application version");
    std::ostringstream optionsStream;
    optionsStream << all;
    const std::string optionsText = optionsStream.str();
    all.add_options()("command", po::value<std::string>(&commandName));
    po::positional_options_description positional;
    positional.add("command", 1);

    try {
        // First pass: only the global options and the command name; a command's own options pass
        // through as unregistered.
        po::variables_map globalValues;
        po::store(po::command_line_parser(arguments).options(all).positional(positional).allow_unregistered().run(),
                  globalValues);
        po::notify(globalValues);

        if (globalValues.count("version")) {
            std::cout << banner << fmt::format(" ({})", version) << "\n";
            return 0;
        }
        const auto found = commands.find(commandName);
        Command* command = found == commands.end() ? nullptr : found->second.get();
        if (globalValues.count("help")) {
            std::cout << banner << "\n\n";
            if (command)
                command->printHelp(programName, std::cout);
            else
                printUsage(programName, commands, optionsText);
            return 0;
        }
        if (!command) {
            std::cerr << "ERROR: unknown command\n\n";
            printUsage(programName, commands, optionsText);
            return 1;
        }

        try {
            command->addOptions(all);
            po::variables_map commandValues;
            po::store(po::command_line_parser(arguments).options(all).positional(positional).run(), commandValues);
            po::notify(commandValues);
            command->execute();
            return 0;
        } catch (const po::error& e) {
            std::cerr << "ERROR: " << e.what() << "\n\n";
            command->printHelp(programName, std::cout);
            return 1;
        }
    } catch (const po::error& e) {
        std::cerr << "ERROR: " << e.what() << "\n\n";
        printUsage(programName, commands, optionsText);
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "ERROR: " << e.what() << "\nThe command is aborted.\n";
        return 1;
    } catch (...) {
        std::cerr << "ERROR: unrecognized exception has been thrown\n";
        return 1;
    }
}

} // namespace KX::PluginPackagingTool
