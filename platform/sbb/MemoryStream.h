#pragma once

#include "platform/sbb/Stream.h"

namespace SBB {

// A growable in-memory stream; writing past the end extends it.
class MemoryStream : public Stream {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<unsigned char> bytes) : _data(std::move(bytes)) {}

    std::size_t read(void* buffer, std::size_t count) override;
    std::size_t write(const void* data, std::size_t count) override;
    std::int64_t seek(std::int64_t offset, SeekOrigin origin) override;

    void setSize(std::size_t size);
    const std::vector<unsigned char>& data() const { return _data; }

private:
    std::vector<unsigned char> _data;
    std::size_t _position = 0;
};

} // namespace SBB
