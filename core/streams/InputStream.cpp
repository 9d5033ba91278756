#include "core/streams/InputStream.h"

#include "core/Errors.h"
#include "core/streams/OutputStream.h"

#include <cstdlib>
#include <memory>

namespace KX {

std::int64_t InputStream::size() {
    const std::int64_t position = seek(0, std::ios_base::cur);
    const std::int64_t length = seek(0, std::ios_base::end);
    try {
        seek(position, std::ios_base::beg);
    } catch (const AbortException&) {
        std::abort();
    } catch (const std::exception&) {
        // The length is known; failing to move back must not hide it.
    }
    return length;
}

void InputStream::copyTo(OutputStream& out, std::int64_t count) {
    if (isBufferBased()) {
        const std::int64_t position = seek(0, std::ios_base::cur);
        const auto [begin, end] = getBuffer();
        std::int64_t n = (end - begin) - position;
        if (count >= 1 && count < n)
            n = count;
        if (n < 0)
            n = 0;
        out.write(begin + position, static_cast<std::size_t>(n));
        seek(n, std::ios_base::cur);
        return;
    }
    // On the stack and not zeroed: a package copies thousands of small files, and a fresh heap
    // block of this size per copy costs more than copying them.
    char buffer[copyChunkSize];
    std::int64_t copied = 0;
    for (;;) {
        std::size_t chunk = copyChunkSize;
        if (count >= 1) {
            const std::int64_t missing = count - copied;
            if (missing <= 0)
                break;
            if (missing < static_cast<std::int64_t>(chunk))
                chunk = static_cast<std::size_t>(missing);
        }
        const std::size_t got = read(buffer, chunk);
        out.write(buffer, got);
        copied += static_cast<std::int64_t>(got);
        if (got < chunk)
            break;
    }
}

} // namespace KX
