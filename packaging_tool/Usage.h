#pragma once

#include "packaging_tool/CommandTable.h"

#include <string>

namespace KX::PluginPackagingTool {

inline constexpr const char* banner = "Ordova Extension Packaging Tool";
inline constexpr const char* version = "2.6E";

// Writes the program's usage (commands and global options) to standard output.
void printUsage(const std::string& programName, const CommandTable& commands, const std::string& optionsText);

} // namespace KX::PluginPackagingTool
