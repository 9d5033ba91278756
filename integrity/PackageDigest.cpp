#include "integrity/PackageDigest.h"

#include "core/Errors.h"
#include "core/FatalError.h"
#include "core/PackagePath.h"
#include "integrity/DigestHex.h"
#include "integrity/OpenSSLCryptoProvider.h"

#include <boost/system/system_error.hpp>
#include <string>
#include <utf8.h>

namespace KX::PluginAPI {

using CryptographicEngine::Digest;
using CryptographicEngine::DigestContext;
using CryptographicEngine::HashAlgorithm;

namespace {
std::unique_ptr<DigestContext> makeContext(HashAlgorithm algorithm) {
    const auto provider = CryptographicEngine::createOpenSSLCryptoProvider();
    auto* plainPtr = provider.get();
    KX_ASSERT(plainPtr);
    return plainPtr->createDigestContext(algorithm);
}

FileSystem::Path keyOf(const FileSystem::Path& path) {
    return FileSystem::Path(path.generic_u8string());
}
} // namespace

Digest computeEntryDigest(DigestContext& context, const Package& package, const FileSystem::Path& path,
                          Package::EntryType type) {
    context.reset();
    if (type == Package::EntryType::File) {
        const auto stream = package.getEntry(path)->openInputStream();
        context.update(*stream);
    }
    return context.finish();
}

PackageDigest PackageDigest::create(const Package& package, HashAlgorithm algorithm,
                                    const ExclusionFilter& isExcluded) {
    const auto context = makeContext(algorithm);
    PackageDigest manifest;
    const auto visit = [&](const FileSystem::Path& path, Package::EntryType type, bool) {
        const FileSystem::Path converted = FileSystem::toPackagePath(path);
        if (isExcluded(converted, type))
            return;
        manifest.add(converted, computeEntryDigest(*context, package, converted, type));
    };
    package.traverseEntries(makeCallableRef<void(const FileSystem::Path&, Package::EntryType, bool)>(visit));
    return manifest;
}

void PackageDigest::verify(const Package& package, HashAlgorithm algorithm,
                           const ExclusionFilter& isExcluded) const {
    const auto context = makeContext(algorithm);
    std::size_t seen = 0;
    std::size_t excluded = 0;
    const auto visit = [&](const FileSystem::Path& path, Package::EntryType type, bool) {
        ++seen;
        const FileSystem::Path converted = FileSystem::toPackagePath(path);
        const FileSystem::Path key = keyOf(converted);
        if (isExcluded(key, type)) {
            ++excluded;
            return;
        }
        const auto record = _records.find(key);
        if (record == _records.end())
            throw PackageDigestError("File '{}' is not found in the signature.", key.u8string());
        if (!(computeEntryDigest(*context, package, converted, type) == record->second))
            throw PackageDigestError("File signature for file '{}' is mismatched.", key.u8string());
    };
    package.traverseEntries(makeCallableRef<void(const FileSystem::Path&, Package::EntryType, bool)>(visit));
    if (seen - excluded != _records.size())
        throw PackageDigestError("The package contains not signed files.");
}

void PackageDigest::add(const FileSystem::Path& path, const Digest& digest) {
    if (!_records.emplace(keyOf(path), digest).second)
        throw PackageDigestError("File '{}' is already exists in the package.", path.u8string());
}

void PackageDigest::writeTo(OutputStream& stream, char separator) const {
    for (const auto& [path, digest] : _records) {
        const std::string key = path.generic_u8string();
        const std::string hex = digestToHex(digest);
        stream.write(key.data(), key.size());
        stream.write(&separator, 1);
        stream.write(hex.data(), hex.size());
        stream.write(&separator, 1);
    }
}

PackageDigest PackageDigest::readFrom(InputStream& stream, char separator) {
    // Reads one field; false when the stream ended before a separator.
    const auto readField = [&](std::string& field) {
        field.clear();
        char c = 0;
        while (stream.read(&c, 1) == 1) {
            if (c == separator)
                return true;
            field += c;
        }
        return false;
    };
    PackageDigest manifest;
    std::string path;
    std::string hex;
    for (;;) {
        readField(path);
        if (!readField(hex))
            break;
        // Paths are converted from UTF-8 where they are used; a record no entry can match must fail
        // here, with that conversion's error, rather than later as an unsigned file.
        if (!utf8::is_valid(path.begin(), path.end()))
            throw boost::system::system_error(
                boost::system::errc::make_error_code(boost::system::errc::illegal_byte_sequence),
                "boost::filesystem::path codecvt to wstring");
        manifest.add(FileSystem::Path(path), digestFromHex(hex));
    }
    return manifest;
}

} // namespace KX::PluginAPI
