#pragma once

#include "core/FatalError.h"
#include "core/NumericCast.h"
#include "core/streams/InOutStream.h"

#include <algorithm>
#include <cstring>

namespace KX {

// An in-memory stream over a contiguous byte container it owns (std::string or
// boost::container::vector<char>). The position may lie past the end after a shortening resize;
// writes there append.
template <typename Container>
class ContainerBasedInOutStream final : public InOutStream {
public:
    ContainerBasedInOutStream() = default;
    explicit ContainerBasedInOutStream(Container content) : _container(std::move(content)) {}

    const Container& container() const { return _container; }
    Container& container() { return _container; }

    std::size_t read(void* buffer, std::size_t count) override {
        const std::int64_t available = std::max<std::int64_t>(containerSize() - _position, 0);
        const auto n = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(count), available));
        if (n > 0)
            std::memcpy(buffer, _container.data() + _position, n);
        _position += static_cast<std::int64_t>(n);
        return n;
    }

    std::int64_t write(const void* data, std::size_t count) override {
        const char* bytes = static_cast<const char*>(data);
        const std::int64_t size = containerSize();
        std::size_t overwritten = 0;
        if (_position < size) {
            overwritten = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(count), size - _position));
            std::memcpy(_container.data() + _position, bytes, overwritten);
        }
        _container.insert(_container.end(), bytes + overwritten, bytes + count);
        _position += static_cast<std::int64_t>(count);
        return static_cast<std::int64_t>(count);
    }

    bool isBufferBased() const override { return false; }
    bool isSeekable() const override { return true; }
    bool isResizable() const override { return true; }

    std::int64_t seek(std::int64_t offset, std::ios_base::seekdir origin) override {
        const std::int64_t size = containerSize();
        std::int64_t target = offset;
        if (origin == std::ios_base::cur)
            target = _position + offset;
        else if (origin == std::ios_base::end)
            target = size + offset;
        _position = std::clamp<std::int64_t>(target, 0, size);
        return _position;
    }

    void resize(std::size_t size) override { _container.resize(size); }

protected:
    std::pair<const char*, const char*> getOutputBuffer() override { fatalError("The stream is not buffer-based"); }

private:
    std::int64_t containerSize() const { return numericCast<std::int64_t>(_container.size()); }

    Container _container;
    std::int64_t _position = 0;
};

} // namespace KX
