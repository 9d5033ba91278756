#pragma once

#include "packaging_tool/Command.h"

#include <map>
#include <memory>
#include <string>

namespace KX::PluginPackagingTool {

// Ordered by name, so every listing shows create, deletesignature, sign.
using CommandTable = std::map<std::string, std::unique_ptr<Command>>;

CommandTable makeCommandTable();

} // namespace KX::PluginPackagingTool
