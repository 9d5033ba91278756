#include "package/CompressedEntrySource.h"

#include "core/Errors.h"

#include <algorithm>
#include <cstring>
#include <isa-l/crc.h>
#include <limits>
#include <new>

namespace KX {

zip_source_t* CompressedEntrySource::create(zip_t* archive, bool deflate, CompressedEntrySource*& state) {
    auto owned = std::unique_ptr<CompressedEntrySource>(new CompressedEntrySource(deflate));
    zip_source_t* source = zip_source_function(archive, &CompressedEntrySource::callback, owned.get());
    if (source == nullptr)
        return nullptr;
    state = owned.release();
    return source;
}

CompressedEntrySource::CompressedEntrySource(bool deflate) : _deflate(deflate) {
    zip_error_init(&_error);
}

CompressedEntrySource::~CompressedEntrySource() {
    zip_error_fini(&_error);
}

void CompressedEntrySource::ensureRoom() {
    if (_lastChunkUsed == chunkSize) {
        auto* chunk = static_cast<unsigned char*>(std::malloc(chunkSize));
        if (chunk == nullptr)
            throw std::bad_alloc();
        _chunks.emplace_back(chunk);
        _lastChunkUsed = 0;
    }
}

void CompressedEntrySource::append(const unsigned char* bytes, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        ensureRoom();
        const std::size_t n = std::min(count - done, chunkSize - _lastChunkUsed);
        std::memcpy(_chunks.back().get() + _lastChunkUsed, bytes + done, n);
        _lastChunkUsed += n;
        done += n;
    }
    _compressedSize += count;
}

void CompressedEntrySource::deflateInput(DeflateEncoder::Flush flush) {
    for (;;) {
        ensureRoom();
        const std::size_t room = chunkSize - _lastChunkUsed;
        const std::size_t produced = _encoder->compress(_chunks.back().get() + _lastChunkUsed, room, flush);
        _lastChunkUsed += produced;
        _compressedSize += produced;
        switch (flush) {
        case DeflateEncoder::Flush::End:
            if (_encoder->finished())
                return;
            break;
        case DeflateEncoder::Flush::Block:
            if (_encoder->blockEnded() && produced < room)
                return;
            break;
        case DeflateEncoder::Flush::None:
            if (_encoder->inputDone() && produced < room)
                return;
            break;
        }
    }
}

// Ends the block the encoder holds. Data that does not shrink (pictures, archives, anything
// compressed already) is kept as a stored block instead: a little smaller than its Huffman code and
// read back at the speed of a copy.
void CompressedEntrySource::endBlock(bool last) {
    deflateInput(last ? DeflateEncoder::Flush::End : DeflateEncoder::Flush::Block);
    const std::size_t raw = _block.size();
    if (_compressedSize - _blockStart.compressedSize > raw + storedHeaderSize) {
        _chunks.resize(_blockStart.chunks);
        _lastChunkUsed = _blockStart.lastChunkUsed;
        _compressedSize = _blockStart.compressedSize;
        // Byte-aligned here: the block before ended with a flush. BFINAL, BTYPE 00, LEN, NLEN.
        const auto length = static_cast<std::uint16_t>(raw);
        const unsigned char header[storedHeaderSize] = {
            static_cast<unsigned char>(last ? 1 : 0), static_cast<unsigned char>(length & 0xff),
            static_cast<unsigned char>(length >> 8), static_cast<unsigned char>(~length & 0xff),
            static_cast<unsigned char>((~length >> 8) & 0xff)};
        append(header, sizeof header);
        append(_block.data(), raw);
    }
    _block.clear();
    _blockStart = OutputMark{_chunks.size(), _lastChunkUsed, _compressedSize};
}

void CompressedEntrySource::write(const void* data, std::size_t count) {
    if (_finished)
        throw BrokenFileError("Cannot write a finished zip entry");
    const auto* bytes = static_cast<const unsigned char*>(data);
    _crc = crc32_gzip_refl(_crc, bytes, count);
    _size += count;
    if (!_deflate) {
        append(bytes, count);
        return;
    }
    if (!_encoder) {
        _encoder = DeflateEncoder::take();
        _block.reserve(blockSize);
    }
    while (count > 0) {
        // The encoder reads from the block's own copy, which the stored fallback needs whole.
        const std::size_t piece = std::min(count, blockSize - _block.size());
        const std::size_t at = _block.size();
        _block.insert(_block.end(), bytes, bytes + piece);
        _encoder->setInput(_block.data() + at, static_cast<std::uint32_t>(piece));
        deflateInput(DeflateEncoder::Flush::None);
        if (_block.size() == blockSize)
            endBlock(false);
        bytes += piece;
        count -= piece;
    }
}

void CompressedEntrySource::finish() {
    if (_finished)
        return;
    if (_deflate && !_encoder && _size == 0) {
        // An empty file, common in plug-ins: the stream the encoder would write for it (one final
        // empty fixed-Huffman block), without setting up the encoder's tables for nothing.
        static constexpr unsigned char emptyStream[] = {0x03, 0x00};
        auto* chunk = static_cast<unsigned char*>(std::malloc(sizeof emptyStream));
        if (chunk == nullptr)
            throw std::bad_alloc();
        std::memcpy(chunk, emptyStream, sizeof emptyStream);
        _chunks.emplace_back(chunk);
        _compressedSize = sizeof emptyStream;
        _finished = true;
        return;
    }
    if (_deflate) {
        if (!_encoder)
            _encoder = DeflateEncoder::take();
        _encoder->setInput(nullptr, 0);
        endBlock(true);
        // The compressor's buffers go now, not when the archive is closed: a package holds
        // thousands of finished entries.
        DeflateEncoder::giveBack(std::move(_encoder));
        std::vector<unsigned char>().swap(_block);
    }
    _finished = true;
    if (!_chunks.empty() && _lastChunkUsed < chunkSize) {
        if (_lastChunkUsed == 0) {
            _chunks.pop_back();
        } else if (void* shrunk = std::realloc(_chunks.back().get(), _lastChunkUsed); shrunk != nullptr) {
            static_cast<void>(_chunks.back().release());
            _chunks.back().reset(static_cast<unsigned char*>(shrunk));
        }
        _lastChunkUsed = chunkSize;
    }
}

zip_int64_t CompressedEntrySource::callback(void* state, void* data, zip_uint64_t length,
                                            zip_source_cmd_t command) {
    auto* self = static_cast<CompressedEntrySource*>(state);
    if (command == ZIP_SOURCE_FREE) {
        delete self;
        return 0;
    }
    return self->handle(data, length, command);
}

zip_int64_t CompressedEntrySource::handle(void* data, zip_uint64_t length, zip_source_cmd_t command) {
    switch (command) {
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                              ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                                              ZIP_SOURCE_SUPPORTS, ZIP_SOURCE_GET_FILE_ATTRIBUTES, -1);
    case ZIP_SOURCE_GET_FILE_ATTRIBUTES:
        return fileAttributes(data, length);
    case ZIP_SOURCE_OPEN:
        try {
            finish();
        } catch (const std::exception&) {
            zip_error_set(&_error, ZIP_ER_INTERNAL, 0);
            return -1;
        }
        if (_released) {
            // The bytes went into the archive already and were let go.
            zip_error_set(&_error, ZIP_ER_INTERNAL, 0);
            return -1;
        }
        _readPosition = 0;
        return 0;
    case ZIP_SOURCE_READ: {
        const std::uint64_t remaining = _compressedSize - _readPosition;
        const std::uint64_t n = std::min<std::uint64_t>(length, remaining);
        std::uint64_t done = 0;
        auto* out = static_cast<unsigned char*>(data);
        while (done < n) {
            const std::uint64_t at = _readPosition + done;
            const std::size_t chunk = static_cast<std::size_t>(at / chunkSize);
            const std::size_t offset = static_cast<std::size_t>(at % chunkSize);
            const std::size_t piece =
                static_cast<std::size_t>(std::min<std::uint64_t>(n - done, chunkSize - offset));
            std::memcpy(out + done, _chunks[chunk].get() + offset, piece);
            done += piece;
        }
        _readPosition += n;
        return static_cast<zip_int64_t>(n);
    }
    case ZIP_SOURCE_CLOSE:
        if (_readPosition == _compressedSize) {
            _chunks.clear();
            _chunks.shrink_to_fit();
            _released = true;
        }
        return 0;
    case ZIP_SOURCE_STAT: {
        if (length < sizeof(zip_stat_t)) {
            zip_error_set(&_error, ZIP_ER_INVAL, 0);
            return -1;
        }
        // Not finished here: libzip also asks while the entry's stream is still being written.
        auto* stat = static_cast<zip_stat_t*>(data);
        zip_stat_init(stat);
        stat->valid = ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_CRC |
                      ZIP_STAT_ENCRYPTION_METHOD;
        stat->size = _size;
        stat->comp_size = _compressedSize;
        stat->comp_method = _deflate ? ZIP_CM_DEFLATE : ZIP_CM_STORE;
        stat->crc = _crc;
        stat->encryption_method = ZIP_EM_NONE;
        return static_cast<zip_int64_t>(sizeof(zip_stat_t));
    }
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&_error, data, length);
    default:
        zip_error_set(&_error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}

// libzip marks the compression level in the entry's flags only for data it compresses itself;
// these entries arrive compressed, so the source says it: bits 1 and 2 as 0 and 1, "fast".
zip_int64_t CompressedEntrySource::fileAttributes(void* data, zip_uint64_t length) {
    if (length < sizeof(zip_file_attributes_t)) {
        zip_error_set(&_error, ZIP_ER_INVAL, 0);
        return -1;
    }
    auto* attributes = static_cast<zip_file_attributes_t*>(data);
    zip_file_attributes_init(attributes);
    if (_deflate) {
        attributes->valid |= ZIP_FILE_ATTRIBUTES_GENERAL_PURPOSE_BIT_FLAGS;
        attributes->general_purpose_bit_flags = fastDeflateFlags;
        attributes->general_purpose_bit_mask = compressionLevelFlags;
    }
    return static_cast<zip_int64_t>(sizeof(zip_file_attributes_t));
}

} // namespace KX
