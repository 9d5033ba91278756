#pragma once

#include "core/CallableRef.h"
#include "core/Path.h"

#include <cstdint>
#include <string_view>

namespace KX::FileSystem {

// One entry of a walk, as the walk found it: the system is asked about each entry once, so that the
// callers do not stat every file again to learn what it is.
struct WalkedEntry {
    const Path& path;
    // The path below the root, '/' between its names.
    std::string_view relative;
    bool isSymlink;
    // A link whose target does not exist.
    bool isDanglingLink;
    // Following links; both false for a link to nothing.
    bool isDirectory;
    bool isRegularFile;
    // The owner may run it (following links).
    bool isExecutable;
    // In bytes, following links; 0 for anything but a regular file.
    std::uint64_t size;
};

// Calls back with the full path of every file and directory below root, depth first, each directory
// before its contents. Symbolic links to directories are followed. Returning false for a directory
// keeps the walk out of it. Entries that vanish during the walk are skipped; any other error ends it
// with Boost's filesystem error "traverseFiles failed".
void traverseFiles(const Path& root, const CallableRef<bool(const WalkedEntry&)>& callback);
void traverseFiles(const Path& root, const CallableRef<bool(const Path&)>& callback);

} // namespace KX::FileSystem
