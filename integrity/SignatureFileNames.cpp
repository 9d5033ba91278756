#include "integrity/SignatureFileNames.h"

#include "core/PackagePath.h"
#include "integrity/DigestFilter.h"
#include "integrity/SignatureFiles.h"

namespace KX::PluginAPI {

FileSystem::Path SignatureFileNames::standardDigest() const {
    return metaInf / digestFilePath.filename();
}

FileSystem::Path SignatureFileNames::standardSignature() const {
    return metaInf / signatureFilePath.filename();
}

SignatureFileNames findSignatureFiles(const Package& package) {
    SignatureFileNames names{metaInfDirectory, std::nullopt, std::nullopt};
    const std::string folded = FileSystem::caseFolded(metaInfDirectory.native());
    const auto visit = [&](const FileSystem::Path& path, Package::EntryType, bool) {
        const std::string name = FileSystem::toPackagePath(path).generic_u8string();
        const std::string_view first = std::string_view(name).substr(0, name.find('/'));
        // Most entries are elsewhere; only the folder's own entries are looked at closely.
        if (first.size() != folded.size() || FileSystem::caseFolded(first) != folded)
            return;
        names.metaInf = FileSystem::Path(first);
        if (!isSignatureFile(FileSystem::Path(name)))
            return;
        const bool isDigest = FileSystem::caseFolded(FileSystem::Path(name).filename().native()) ==
                              FileSystem::caseFolded(digestFilePath.filename().native());
        (isDigest ? names.digest : names.signature) = FileSystem::Path(name);
    };
    package.traverseEntries(makeCallableRef<void(const FileSystem::Path&, Package::EntryType, bool)>(visit));
    return names;
}

} // namespace KX::PluginAPI
