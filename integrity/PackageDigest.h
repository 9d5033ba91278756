#pragma once

#include "core/CallableRef.h"
#include "core/Path.h"
#include "core/streams/InputStream.h"
#include "core/streams/OutputStream.h"
#include "integrity/Digest.h"
#include "integrity/DigestContext.h"
#include "integrity/HashAlgorithm.h"
#include "package/Package.h"

#include <map>

namespace KX::PluginAPI {

using ExclusionFilter = CallableRef<bool(const FileSystem::Path&, Package::EntryType)>;

// The digest manifest of a package (META-INF/.digest): one digest per entry, directories included,
// keyed by the generic package path and kept in path order. Text form: path, separator, upper-case
// hex digest, separator, for each record.
class PackageDigest {
public:
    using Records = std::map<FileSystem::Path, CryptographicEngine::Digest>;

    static PackageDigest create(const Package& package, CryptographicEngine::HashAlgorithm algorithm,
                                const ExclusionFilter& isExcluded);
    // Throws PackageDigestError naming the first entry that does not match, or when records are left
    // without an entry.
    void verify(const Package& package, CryptographicEngine::HashAlgorithm algorithm,
                const ExclusionFilter& isExcluded) const;

    // An incomplete last record is dropped.
    static PackageDigest readFrom(InputStream& stream, char separator);
    void writeTo(OutputStream& stream, char separator) const;

    // Throws PackageDigestError when the key is present already.
    void add(const FileSystem::Path& path, const CryptographicEngine::Digest& digest);

    const Records& records() const { return _records; }
    std::size_t size() const { return _records.size(); }

private:
    Records _records;
};

// The digest of one entry's content; a directory has the digest of empty input.
CryptographicEngine::Digest computeEntryDigest(CryptographicEngine::DigestContext& context,
                                               const Package& package, const FileSystem::Path& path,
                                               Package::EntryType type);

} // namespace KX::PluginAPI
