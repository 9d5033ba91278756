#pragma once

#include "packaging_tool/Command.h"

#include <string>

namespace KX::PluginPackagingTool {

// `xpk create`: packs a plug-in directory into a .xpk package.
class CreatePackageCommand final : public Command {
public:
    CreatePackageCommand();

    const char* description() const override;
    void printHelp(const std::string& programName, std::ostream& out) const override;
    void execute() override;

private:
    std::string source;
    std::string package;
    bool deleteExisting = false;
};

} // namespace KX::PluginPackagingTool
