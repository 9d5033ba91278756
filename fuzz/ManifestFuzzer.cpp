// The digest manifest reader: bytes in, records out, and the records written back must read as
// the same records.

#include "core/streams/ContainerBasedInOutStream.h"
#include "integrity/PackageDigest.h"

#include <cstdint>
#include <exception>
#include <string>

namespace {

using KX::PluginAPI::PackageDigest;

PackageDigest read(const std::string& text, char separator) {
    KX::ContainerBasedInOutStream<std::string> stream(text);
    return PackageDigest::readFrom(stream, separator);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const char separator : {'\n', '\0'}) {
        PackageDigest manifest;
        try {
            manifest = read(text, separator);
        } catch (const std::exception&) {
            continue;
        }
        KX::ContainerBasedInOutStream<std::string> written;
        manifest.writeTo(written, separator);
        if (read(written.container(), separator).records() != manifest.records())
            __builtin_trap();
    }
    return 0;
}
