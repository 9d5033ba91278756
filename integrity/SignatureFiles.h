#pragma once

#include "core/Path.h"

namespace KX::PluginAPI {

// The metadata directory every plug-in has, and the two files of a signed package inside it.
inline const FileSystem::Path metaInfDirectory{"META-INF"};
inline const FileSystem::Path digestFilePath{"META-INF/.digest"};
inline const FileSystem::Path signatureFilePath{"META-INF/.signature"};

} // namespace KX::PluginAPI
