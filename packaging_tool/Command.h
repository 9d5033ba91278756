#pragma once

#include <boost/program_options/options_description.hpp>
#include <iosfwd>
#include <string>
#include <string_view>

namespace KX::PluginPackagingTool {

// One xpk command. The derived constructor adds the command's options to `options`, each bound to a
// field that the second parse fills in.
class Command {
public:
    Command();
    virtual ~Command() = default;
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

    virtual const char* description() const = 0;
    virtual void printHelp(const std::string& programName, std::ostream& out) const = 0;
    virtual boost::program_options::options_description&
    addOptions(boost::program_options::options_description& all) const;
    virtual void execute() = 0;

protected:
    // The layout shared by every help page: usage line, wrapped help text, options, a blank line.
    void printHelpPage(const std::string& programName, std::ostream& out, std::string_view usageLine,
                       const std::string& helpText) const;

    boost::program_options::options_description options;
};

// A directory typed on the command line as the start of the names of its files in messages.
std::string packageDisplayPrefix(const std::string& directory);

} // namespace KX::PluginPackagingTool
