#pragma once

#include "packaging_tool/Command.h"

#include <string>

namespace KX::PluginPackagingTool {

// `xpk deletesignature`: removes the digest manifest and the signature from a directory or package.
class DeleteSignPackageCommand final : public Command {
public:
    DeleteSignPackageCommand();

    const char* description() const override;
    void printHelp(const std::string& programName, std::ostream& out) const override;
    void execute() override;

private:
    std::string package;
};

} // namespace KX::PluginPackagingTool
