#include "platform/sbb/MemoryStream.h"

#include "platform/sbb/SBException.h"

#include <algorithm>
#include <cstring>

namespace SBB {

std::size_t MemoryStream::read(void* buffer, std::size_t count) {
    if (_position >= _data.size())
        return 0;
    const auto n = std::min(count, _data.size() - _position);
    std::memcpy(buffer, _data.data() + _position, n);
    _position += n;
    return n;
}

std::size_t MemoryStream::write(const void* data, std::size_t count) {
    if (_position + count > _data.size())
        _data.resize(_position + count);
    if (count > 0)
        std::memcpy(_data.data() + _position, data, count);
    _position += count;
    return count;
}

std::int64_t MemoryStream::seek(std::int64_t offset, SeekOrigin origin) {
    std::int64_t base = 0;
    if (origin == SeekOrigin::Current)
        base = static_cast<std::int64_t>(_position);
    else if (origin == SeekOrigin::End)
        base = static_cast<std::int64_t>(_data.size());
    const auto target = base + offset;
    if (target < 0)
        throw SBException(SBException::Kind::Library, "EElStreamError", "Seek before the start of the stream",
                          0x5011);
    _position = static_cast<std::size_t>(target);
    return target;
}

void MemoryStream::setSize(std::size_t size) {
    _data.resize(size);
}

} // namespace SBB
