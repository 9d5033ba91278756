#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace SBB {

enum class SeekOrigin { Begin = 0, Current = 1, End = 2 };

// The library's byte stream. Loaders read from the current position to the end.
class Stream {
public:
    virtual ~Stream() = default;

    // Returns the number of bytes read; 0 at the end.
    virtual std::size_t read(void* buffer, std::size_t count) = 0;
    // Returns the number of bytes written.
    virtual std::size_t write(const void* data, std::size_t count) = 0;
    // Returns the new position from the start.
    virtual std::int64_t seek(std::int64_t offset, SeekOrigin origin) = 0;

    std::int64_t position() { return seek(0, SeekOrigin::Current); }
    // Length of the whole content; the position is kept.
    std::int64_t size();
    // Everything from the position to the end; the position ends there.
    std::vector<unsigned char> readToEnd();
    void writeAll(const std::vector<unsigned char>& bytes);
};

} // namespace SBB
