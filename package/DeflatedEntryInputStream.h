#pragma once

#include "core/streams/InputStream.h"

#include <cstdint>
#include <memory>
#include <vector>
#include <zip.h>

struct inflate_state;

namespace KX {

// The content of one deflated zip entry, read from libzip as its compressed bytes and inflated with
// ISA-L, the library that compresses entries, several times faster than libzip's zlib. Like libzip,
// it checks the entry's size and CRC when the data ends. Not seekable, as libzip's deflated entry
// streams are not. Holds no reference to the package: it must be destroyed before the package.
class DeflatedEntryInputStream final : public InputStream {
public:
    // file is the entry opened with ZIP_FL_COMPRESSED, owned from here on.
    DeflatedEntryInputStream(zip_file_t* file, std::int64_t size, std::uint64_t compressedSize,
                             std::uint32_t crc);
    DeflatedEntryInputStream(const DeflatedEntryInputStream&) = delete;
    DeflatedEntryInputStream& operator=(const DeflatedEntryInputStream&) = delete;
    ~DeflatedEntryInputStream() override;

    std::size_t read(void* buffer, std::size_t count) override;
    bool isBufferBased() const override { return false; }
    std::pair<const char*, const char*> getBuffer() override;
    bool isSeekable() const override { return false; }
    std::int64_t seek(std::int64_t offset, std::ios_base::seekdir origin) override;

private:
    // Inflates into out until it is full or the deflate stream ends; returns the bytes produced.
    std::size_t inflateInto(unsigned char* out, std::size_t count);
    void refill();
    void checkEnd();

    zip_file_t* _file;
    std::int64_t _size;
    std::int64_t _position = 0;
    std::uint32_t _expectedCrc;
    std::uint32_t _crc = 0;
    std::unique_ptr<inflate_state> _state;
    std::vector<unsigned char> _input;
    bool _inputEnded = false;
};

} // namespace KX
