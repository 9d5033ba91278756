#include "signature/sbb/StreamBridge.h"

#include "core/Errors.h"
#include "core/NumericCast.h"

#include <vector>

namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider {

using SBB::CallbackStream;
using SBB::SeekOrigin;

namespace {
std::ios_base::seekdir toSeekDir(SeekOrigin origin) {
    switch (origin) {
    case SeekOrigin::Current:
        return std::ios_base::cur;
    case SeekOrigin::End:
        return std::ios_base::end;
    default:
        return std::ios_base::beg;
    }
}

template <typename S> CallbackStream::SeekHandler seekHandler(S& stream) {
    if (!stream.isSeekable())
        return {};
    return
        [&stream](std::int64_t offset, SeekOrigin origin) { return stream.seek(offset, toSeekDir(origin)); };
}

CallbackStream::ReadHandler readHandler(InputStream& stream) {
    return [&stream](void* buffer, std::size_t count) { return stream.read(buffer, count); };
}

CallbackStream::WriteHandler writeHandler(OutputStream& stream) {
    return [&stream](const void* data, std::size_t count) {
        const auto written = stream.write(data, count);
        return written < 0 ? std::size_t{0} : static_cast<std::size_t>(written);
    };
}
} // namespace

std::unique_ptr<CallbackStream> makeCallbackStream(InputStream& stream) {
    return std::make_unique<CallbackStream>(readHandler(stream), nullptr, seekHandler(stream));
}

std::unique_ptr<CallbackStream> makeCallbackStream(OutputStream& stream) {
    return std::make_unique<CallbackStream>(nullptr, writeHandler(stream), seekHandler(stream));
}

std::unique_ptr<CallbackStream> makeCallbackStream(InOutStream& stream) {
    return std::make_unique<CallbackStream>(readHandler(stream), writeHandler(stream),
                                            seekHandler(static_cast<InputStream&>(stream)));
}

void copyIntoMemory(InOutStream& stream, SBB::MemoryStream& memory) {
    const std::int64_t size = stream.size();
    if (size == 0)
        throw SignatureRuntimeError("Can't processed empty input stream.");
    const auto length = static_cast<std::size_t>(numericCast<std::int32_t>(size));
    std::vector<unsigned char> bytes(length, 0);
    stream.seek(0, std::ios_base::beg);
    std::size_t done = 0;
    while (done < length) {
        const auto n = stream.read(bytes.data() + done, length - done);
        if (n == 0)
            break;
        done += n;
    }
    memory.setSize(length);
    memory.seek(0, SBB::SeekOrigin::Begin);
    memory.write(bytes.data(), bytes.size());
    memory.seek(0, SBB::SeekOrigin::Begin);
}

} // namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider
