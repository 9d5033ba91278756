#include "integrity/DigestFilter.h"

#include "core/PackagePath.h"
#include "integrity/SignatureFiles.h"

namespace KX::PluginAPI {

bool isSignatureFile(const FileSystem::Path& path) {
    // Zip readers and the suite on Windows find "meta-inf/.DIGEST" under the standard name, so
    // whatever the letter case, it is the manifest and never content of its own.
    const FileSystem::Path folded(FileSystem::caseFolded(path.native()));
    static const FileSystem::Path digest(FileSystem::caseFolded(digestFilePath.native()));
    static const FileSystem::Path signature(FileSystem::caseFolded(signatureFilePath.native()));
    return folded == digest || folded == signature;
}

bool isExcludedFromDigest(const FileSystem::Path& path, Package::EntryType) {
    if (isSignatureFile(path))
        return true;
    // Finder's folder settings appear in plug-ins made on a Mac and change on their own.
    return path.filename().u8string() == ".DS_Store";
}

} // namespace KX::PluginAPI
