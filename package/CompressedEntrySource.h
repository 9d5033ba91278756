#pragma once

#include "package/DeflateEncoder.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>
#include <zip.h>

namespace KX {

// The new content of one zip entry, compressed while it is written. libzip owns the source and
// copies the compressed bytes into the archive as they are when it is closed, so an entry costs
// its compressed size in memory instead of its full size, and the bytes are released as soon as
// libzip has copied them.
class CompressedEntrySource {
public:
    // Creates the libzip source together with its state; the state lives until libzip frees the
    // source. Returns null (with error set) when the source cannot be made.
    static zip_source_t* create(zip_t* archive, bool deflate, CompressedEntrySource*& state);

    CompressedEntrySource(const CompressedEntrySource&) = delete;
    CompressedEntrySource& operator=(const CompressedEntrySource&) = delete;
    ~CompressedEntrySource();

    void write(const void* data, std::size_t count);
    // Ends the compressed stream; later writes are refused.
    void finish();

private:
    explicit CompressedEntrySource(bool deflate);
    static zip_int64_t callback(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command);
    zip_int64_t handle(void* data, zip_uint64_t length, zip_source_cmd_t command);
    void ensureRoom();
    void append(const unsigned char* bytes, std::size_t count);
    void deflateInput(DeflateEncoder::Flush flush);
    void endBlock(bool last);
    zip_int64_t fileAttributes(void* data, zip_uint64_t length);

    // Small enough for the allocator to serve from its heap rather than by mapping pages, so the
    // memory freed after libzip copied one entry is reused for the archive libzip is writing.
    static constexpr std::size_t chunkSize = 64 * 1024;
    // Input per deflate block: the most a stored block holds.
    static constexpr std::size_t blockSize = 65535;
    static constexpr std::size_t storedHeaderSize = 5;
    // General-purpose flag bits 1 and 2 of a deflated entry, and their value for fast compression.
    static constexpr zip_uint16_t compressionLevelFlags = 0x0006;
    static constexpr zip_uint16_t fastDeflateFlags = 0x0004;

    bool _deflate;
    bool _finished = false;
    bool _released = false;
    // Taken at the first write and given back once the entry is finished.
    std::unique_ptr<DeflateEncoder> _encoder;
    std::uint32_t _crc = 0;
    std::uint64_t _size = 0;
    std::uint64_t _compressedSize = 0;
    struct FreeChunk {
        void operator()(unsigned char* chunk) const { std::free(chunk); }
    };
    // Full chunks, then the last one cut to its length when the entry is finished: with thousands of
    // entries, half-empty last chunks would add up to a good part of the archive size.
    std::vector<std::unique_ptr<unsigned char[], FreeChunk>> _chunks;
    std::size_t _lastChunkUsed = chunkSize;
    // Where the output stood when the current block began, to go back to for a stored block.
    struct OutputMark {
        std::size_t chunks = 0;
        std::size_t lastChunkUsed = chunkSize;
        std::uint64_t compressedSize = 0;
    };
    OutputMark _blockStart;
    std::vector<unsigned char> _block;
    std::uint64_t _readPosition = 0;
    zip_error_t _error{};
};

} // namespace KX
