#pragma once

#include "package/Package.h"

#include <string>

namespace KX {

// Refuses a package whose entries could not all be written, read back or extracted under their own
// names, before a command acts on it. Throws MakePackageError naming the entry (after displayPrefix)
// when a name is not a usable package name (see invalidPackageNameReason), when two names differ only
// in ASCII letter case (zip readers and Windows take them for one entry, so one would be lost), when a
// name is used twice or for a file and a folder at once, and, in a directory, for a file that cannot be
// read as one: a dangling symbolic link, a device, a pipe or a socket.
void checkEntryNames(const Package& package, const std::string& displayPrefix);

} // namespace KX
