#include "platform/sbb/KXStreamBridge.h"

namespace SBB {

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

CallbackStream::ReadHandler readHandler(KX::InputStream& stream) {
    return [&stream](void* buffer, std::size_t count) { return stream.read(buffer, count); };
}

CallbackStream::WriteHandler writeHandler(KX::OutputStream& stream) {
    return [&stream](const void* data, std::size_t count) {
        const auto written = stream.write(data, count);
        return written < 0 ? std::size_t{0} : static_cast<std::size_t>(written);
    };
}
} // namespace

std::unique_ptr<CallbackStream> makeCallbackStream(KX::InputStream& stream) {
    return std::make_unique<CallbackStream>(readHandler(stream), nullptr, seekHandler(stream));
}

std::unique_ptr<CallbackStream> makeCallbackStream(KX::OutputStream& stream) {
    return std::make_unique<CallbackStream>(nullptr, writeHandler(stream), seekHandler(stream));
}

std::unique_ptr<CallbackStream> makeCallbackStream(KX::InOutStream& stream) {
    return std::make_unique<CallbackStream>(readHandler(stream), writeHandler(stream),
                                            seekHandler(static_cast<KX::InputStream&>(stream)));
}

} // namespace SBB
