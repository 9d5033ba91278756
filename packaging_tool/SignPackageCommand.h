#pragma once

#include "packaging_tool/Command.h"

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

} // namespace KX::PluginPackagingTool
