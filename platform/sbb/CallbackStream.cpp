#include "platform/sbb/CallbackStream.h"

#include "platform/sbb/SBException.h"

namespace SBB {

namespace {
[[noreturn]] void unsupported(const char* what) {
    throw SBException(SBException::Kind::Library, "EElStreamError", std::string("The stream cannot ") + what,
                      0x5012);
}
} // namespace

std::size_t CallbackStream::read(void* buffer, std::size_t count) {
    if (!_onRead)
        unsupported("be read");
    return _onRead(buffer, count);
}

std::size_t CallbackStream::write(const void* data, std::size_t count) {
    if (!_onWrite)
        unsupported("be written");
    return _onWrite(data, count);
}

std::int64_t CallbackStream::seek(std::int64_t offset, SeekOrigin origin) {
    if (!_onSeek)
        unsupported("seek");
    return _onSeek(offset, origin);
}

} // namespace SBB
