#include "platform/sbb/Stream.h"

#include "platform/sbb/SBException.h"

namespace SBB {

std::int64_t Stream::size() {
    const auto current = position();
    const auto end = seek(0, SeekOrigin::End);
    seek(current, SeekOrigin::Begin);
    return end;
}

std::vector<unsigned char> Stream::readToEnd() {
    std::vector<unsigned char> bytes;
    unsigned char chunk[16384];
    for (;;) {
        const auto count = read(chunk, sizeof chunk);
        if (count == 0)
            break;
        bytes.insert(bytes.end(), chunk, chunk + count);
    }
    return bytes;
}

void Stream::writeAll(const std::vector<unsigned char>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto count = write(bytes.data() + done, bytes.size() - done);
        if (count == 0)
            throw SBException(SBException::Kind::Library, "EElStreamError", "Stream write failed", 0x5010);
        done += count;
    }
}

} // namespace SBB
