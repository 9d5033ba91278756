#pragma once

#include "core/CallableRef.h"
#include "core/Path.h"

namespace KX::FileSystem {

// Calls back with the full path of every file and directory below root, depth first, each directory
// before its contents. Symbolic links to directories are followed. Returning false for a directory
// keeps the walk out of it. Entries that vanish during the walk are skipped; any other error ends it
// with Boost's filesystem error "traverseFiles failed".
void traverseFiles(const Path& root, const CallableRef<bool(const Path&)>& callback);

} // namespace KX::FileSystem
