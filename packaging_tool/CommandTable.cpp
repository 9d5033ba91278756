#include "packaging_tool/CommandTable.h"

#include "packaging_tool/CreatePackageCommand.h"
#include "packaging_tool/DeleteSignPackageCommand.h"
#include "packaging_tool/SignPackageCommand.h"

namespace KX::PluginPackagingTool {

CommandTable makeCommandTable() {
    CommandTable table;
    table.emplace("create", std::make_unique<CreatePackageCommand>());
    table.emplace("sign", std::make_unique<SignPackageCommand>());
    table.emplace("deletesignature", std::make_unique<DeleteSignPackageCommand>());
    return table;
}

} // namespace KX::PluginPackagingTool
