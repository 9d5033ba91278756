#pragma once

#include "core/Path.h"

namespace KX::FileSystem {

// Turns a path produced by a directory walk, relative to a package root, into a package path: leading
// separators go, and each ".." cancels the next complete element together with everything before it.
// Throws BaseRuntimeError when a ".." is left over, and utf8-cpp's exception on malformed UTF-8.
Path toPackagePath(const Path& path);

} // namespace KX::FileSystem
