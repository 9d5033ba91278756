// Zip packages from memory: open, walk the entries, read each one, and digest the whole package.

#include "core/CallableRef.h"
#include "core/streams/ContainerBasedInOutStream.h"
#include "integrity/DigestFilter.h"
#include "integrity/PackageDigest.h"
#include "package/ZippedPackage.h"

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

namespace {

using namespace KX;

void readEveryEntry(const Package& package) {
    std::vector<FileSystem::Path> files;
    const auto collect = [&](const FileSystem::Path& path, Package::EntryType type, bool) {
        if (type == Package::EntryType::File)
            files.push_back(path);
    };
    package.traverseEntries(
        makeCallableRef<void(const FileSystem::Path&, Package::EntryType, bool)>(collect));
    char buffer[65536];
    for (const auto& path : files) {
        try {
            const auto in = package.getEntry(path)->openInputStream();
            while (in->read(buffer, sizeof buffer) > 0) {
            }
        } catch (const std::exception&) {
            // A damaged entry must not keep the others from being read.
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ContainerBasedInOutStream<std::string> stream(std::string(reinterpret_cast<const char*>(data), size));
    try {
        const auto package = makeZippedPackage(stream, ZipOpenMode::OpenExisting, false);
        readEveryEntry(*package);
        PluginAPI::PackageDigest::create(*package, CryptographicEngine::HashAlgorithm::Sha256,
                                         makeCallableRef<bool(const FileSystem::Path&, Package::EntryType)>(
                                             PluginAPI::isExcludedFromDigest));
    } catch (const std::exception&) {
    }
    return 0;
}
