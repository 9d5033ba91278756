#pragma once

#include <cstddef>
#include <cstdint>
#include <ios>
#include <utility>

namespace KX {

class OutputStream;

// Byte source. Optional operations are guarded by capability queries: ask isBufferBased() before
// getBuffer() and isSeekable() before seek(); calling one without the capability is a fatal error.
class InputStream {
public:
    virtual ~InputStream() = default;

    // Returns the number of bytes placed in buffer; 0 means the end. Short counts only at the end.
    virtual std::size_t read(void* buffer, std::size_t count) = 0;
    virtual bool isBufferBased() const = 0;
    // The whole content, not only the part after the position.
    virtual std::pair<const char*, const char*> getBuffer() { return {nullptr, nullptr}; }
    virtual bool isSeekable() const = 0;
    // Returns the new position counted from the start.
    virtual std::int64_t seek(std::int64_t offset, std::ios_base::seekdir origin) = 0;
    // The open file underneath, for readers that map it into memory rather than copy it; -1 when
    // the stream is not a file.
    virtual int fileDescriptor() const { return -1; }

    // Length of the content; the position is left where it was.
    std::int64_t size();
    // Copies count bytes from the position into out, or everything up to the end when count < 1.
    void copyTo(OutputStream& out, std::int64_t count = -1);

    static constexpr std::size_t copyChunkSize = 65536;
};

} // namespace KX
