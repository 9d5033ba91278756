#pragma once

#include "core/streams/InputStream.h"
#include "core/streams/OutputStream.h"

#include <memory>

namespace KX {

namespace StreamDetails {
// getBuffer() has the same signature in both interfaces, so one override would serve both halves.
// These shims give each half its own hook, letting a stream answer differently per half.
class InputHalf : public InputStream {
public:
    std::pair<const char*, const char*> getBuffer() override { return getInputBuffer(); }

protected:
    virtual std::pair<const char*, const char*> getInputBuffer() { return InputStream::getBuffer(); }
};

class OutputHalf : public OutputStream {
public:
    std::pair<const char*, const char*> getBuffer() override { return getOutputBuffer(); }

protected:
    virtual std::pair<const char*, const char*> getOutputBuffer() { return OutputStream::getBuffer(); }
};
} // namespace StreamDetails

// Both halves work on the same content and the same position.
class InOutStream : public StreamDetails::InputHalf, public StreamDetails::OutputHalf {
public:
    using InputStream::isBufferBased;
    using InputStream::isSeekable;
    using InputStream::seek;
    using StreamDetails::InputHalf::getBuffer;
};

using InputStreamUPtr = std::unique_ptr<InputStream>;
using OutputStreamUPtr = std::unique_ptr<OutputStream>;
using InOutStreamUPtr = std::unique_ptr<InOutStream>;

} // namespace KX
