#pragma once

#include "core/Path.h"

#include <optional>
#include <string>
#include <string_view>

namespace KX::FileSystem {

// Turns a path produced by a directory walk, relative to a package root, into a package path: leading
// separators go, and each ".." cancels the next complete element together with everything before it.
// Throws BaseRuntimeError when a ".." is left over, and utf8-cpp's exception on malformed UTF-8.
Path toPackagePath(const Path& path);

// Why name (a package path, or a file name below a package root) cannot stand for one entry of a
// package on every system that reads it, or nothing when it can: it must be UTF-8, relative, and made of
// non-empty elements other than "." and "..", separated by single '/'. A '\' is refused because
// readers on Windows take it for a separator, so "a\b" would name another entry.
std::optional<std::string> invalidPackageNameReason(std::string_view name);

// The name for a message: bytes that are not UTF-8 are shown as \xHH.
std::string printableName(std::string_view name);

// Compared without regard to ASCII letter case, as zip readers look names up.
std::string caseFolded(std::string_view name);

} // namespace KX::FileSystem
