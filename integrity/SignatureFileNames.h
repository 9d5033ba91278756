#pragma once

#include "core/Path.h"
#include "package/Package.h"

#include <optional>

namespace KX::PluginAPI {

// Where a package keeps its metadata and signature files, in the letter case it spells them: zip
// readers and the suite on Windows find "Meta-Inf/.DIGEST" as META-INF/.digest, so that is the
// manifest, and new signature files belong in "Meta-Inf" rather than in a second folder beside it.
struct SignatureFileNames {
    FileSystem::Path metaInf;                  // "META-INF" when the package has no such folder
    std::optional<FileSystem::Path> digest;    // the manifest, when present
    std::optional<FileSystem::Path> signature; // the signature, when present

    FileSystem::Path standardDigest() const;    // metaInf/.digest
    FileSystem::Path standardSignature() const; // metaInf/.signature
};

// Walks the package once. Names differing only in case are refused earlier (checkEntryNames), so
// each of the three has at most one spelling.
SignatureFileNames findSignatureFiles(const Package& package);

} // namespace KX::PluginAPI
