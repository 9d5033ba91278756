#pragma once

#include "packaging_tool/Command.h"

#include <cstdint>
#include <string>
#include <vector>

namespace KX::PluginPackagingTool {

// `xpk sign`: writes a digest manifest and a detached CMS signature over it into a package.
class SignPackageCommand final : public Command {
public:
    SignPackageCommand();

    const char* description() const override;
    void printHelp(const std::string& programName, std::ostream& out) const override;
    void execute() override;

private:
    std::string package;
    std::vector<std::string> certificates;
    std::string privateKey;
    std::string passphrase;
};

// A moment (seconds since 1970-01-01 UTC) in the 24-character calendar form, with its line break:
// "Fri Mar 05 14:07:09 2027\n". A moment outside the years 1970 to 9999 gives "unknown\n".
std::string formatCalendarTime(std::int64_t seconds);

} // namespace KX::PluginPackagingTool
