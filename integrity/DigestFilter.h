#pragma once

#include "core/Path.h"
#include "package/Package.h"

namespace KX::PluginAPI {

// True for META-INF/.digest and META-INF/.signature in any letter case.
bool isSignatureFile(const FileSystem::Path& path);

// True for the entries no manifest describes: the two signature files and every ".DS_Store".
bool isExcludedFromDigest(const FileSystem::Path& path, Package::EntryType type);

} // namespace KX::PluginAPI
