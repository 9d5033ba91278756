#pragma once

#include "platform/sbb/Stream.h"

#include <functional>

namespace SBB {

// A stream whose operations are supplied by the caller: the way foreign streams enter the
// library. A missing handler makes that operation fail with an SBException.
class CallbackStream : public Stream {
public:
    using ReadHandler = std::function<std::size_t(void*, std::size_t)>;
    using WriteHandler = std::function<std::size_t(const void*, std::size_t)>;
    using SeekHandler = std::function<std::int64_t(std::int64_t, SeekOrigin)>;

    CallbackStream(ReadHandler onRead, WriteHandler onWrite, SeekHandler onSeek)
        : _onRead(std::move(onRead)), _onWrite(std::move(onWrite)), _onSeek(std::move(onSeek)) {}

    std::size_t read(void* buffer, std::size_t count) override;
    std::size_t write(const void* data, std::size_t count) override;
    std::int64_t seek(std::int64_t offset, SeekOrigin origin) override;

private:
    ReadHandler _onRead;
    WriteHandler _onWrite;
    SeekHandler _onSeek;
};

} // namespace SBB
