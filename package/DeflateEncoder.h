#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct isal_zstream;

namespace KX {

// Raw deflate at ISA-L's fastest level (igzip level 1): what a zip entry of method 8 holds, several
// times faster than zlib's level 1 at about the same size. One encoder makes one stream; take()
// hands out an encoder whose buffers an earlier, finished stream used, since a package writes
// thousands of entries one after another and each new encoder would cost a third of a megabyte.
class DeflateEncoder {
public:
    static std::unique_ptr<DeflateEncoder> take();
    // Keeps a few finished encoders for take().
    static void giveBack(std::unique_ptr<DeflateEncoder> encoder);

    DeflateEncoder();
    DeflateEncoder(const DeflateEncoder&) = delete;
    DeflateEncoder& operator=(const DeflateEncoder&) = delete;
    ~DeflateEncoder();

    // The next input; it must stay valid until inputDone() (or, at the end, finished()).
    void setInput(const void* data, std::uint32_t count);
    enum class Flush {
        None,
        // Ends the block at a byte boundary once the input is in (calls go on until blockEnded()), so
        // that the bytes of that block can be replaced by a stored block of the same data.
        Block,
        // The input is the end of the stream; calls go on until finished().
        End,
    };
    // Compresses into out, at most room bytes; returns the bytes produced.
    std::size_t compress(unsigned char* out, std::size_t room, Flush flush);
    bool inputDone() const;
    bool blockEnded() const;
    bool finished() const;

private:
    void reset();

    std::unique_ptr<isal_zstream> _stream;
    std::vector<unsigned char> _levelBuffer;
};

} // namespace KX
