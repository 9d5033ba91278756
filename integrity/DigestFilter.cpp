#include "integrity/DigestFilter.h"

#include "integrity/SignatureFiles.h"

namespace KX::PluginAPI {

bool isExcludedFromDigest(const FileSystem::Path& path, Package::EntryType) {
    if (path == digestFilePath || path == signatureFilePath)
        return true;
    // Finder's folder settings appear in plug-ins made on a Mac and change on their own.
    return path.filename().u8string() == ".DS_Store";
}

} // namespace KX::PluginAPI
