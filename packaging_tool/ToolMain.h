#pragma once

#include <string>
#include <vector>

namespace KX::PluginPackagingTool {

// Runs xpk on already converted UTF-8 arguments (program name excluded); returns the exit status.
int runTool(const std::string& programName, const std::vector<std::string>& arguments);

} // namespace KX::PluginPackagingTool
