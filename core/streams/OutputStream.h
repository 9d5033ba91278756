#pragma once

#include <cstddef>
#include <cstdint>
#include <ios>
#include <utility>

namespace KX {

// Byte sink, with the same capability scheme as InputStream plus isResizable() for resize().
class OutputStream {
public:
    virtual ~OutputStream() = default;

    virtual std::int64_t write(const void* data, std::size_t count) = 0;
    virtual bool isBufferBased() const = 0;
    virtual std::pair<const char*, const char*> getBuffer() { return {nullptr, nullptr}; }
    virtual bool isSeekable() const = 0;
    virtual std::int64_t seek(std::int64_t offset, std::ios_base::seekdir origin) = 0;
    virtual bool isResizable() const = 0;
    virtual void resize(std::size_t size) = 0;
};

} // namespace KX
