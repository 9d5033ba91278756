#include "package/CompressedEntrySource.h"

#include "core/Errors.h"

#include <algorithm>
#include <cstring>
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
    _crc = static_cast<std::uint32_t>(crc32(0, nullptr, 0));
    if (_deflate) {
        // Raw deflate (no zlib header), level 1: what a zip entry of method 8 holds.
        if (deflateInit2(&_zstream, 1, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            throw std::bad_alloc();
    }
}

CompressedEntrySource::~CompressedEntrySource() {
    if (_deflate && !_finished)
        deflateEnd(&_zstream);
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

void CompressedEntrySource::deflateInput(int flush) {
    for (;;) {
        ensureRoom();
        _zstream.next_out = _chunks.back().get() + _lastChunkUsed;
        _zstream.avail_out = static_cast<uInt>(chunkSize - _lastChunkUsed);
        const int result = deflate(&_zstream, flush);
        const std::size_t produced = (chunkSize - _lastChunkUsed) - _zstream.avail_out;
        _lastChunkUsed += produced;
        _compressedSize += produced;
        if (result == Z_STREAM_END)
            return;
        if (result != Z_OK && result != Z_BUF_ERROR)
            throw BrokenFileError("Cannot compress zip entry");
        // Without Z_FINISH, deflate is done once it has taken all input and left output room.
        if (flush != Z_FINISH && _zstream.avail_in == 0 && _zstream.avail_out != 0)
            return;
    }
}

void CompressedEntrySource::write(const void* data, std::size_t count) {
    if (_finished)
        throw BrokenFileError("Cannot write a finished zip entry");
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (count > 0) {
        // zlib counts in uInt; feed very large writes in pieces.
        const std::size_t piece = std::min<std::size_t>(count, std::numeric_limits<uInt>::max());
        _crc = static_cast<std::uint32_t>(crc32(_crc, bytes, static_cast<uInt>(piece)));
        _size += piece;
        if (_deflate) {
            _zstream.next_in = const_cast<unsigned char*>(bytes);
            _zstream.avail_in = static_cast<uInt>(piece);
            deflateInput(Z_NO_FLUSH);
        } else {
            std::size_t done = 0;
            while (done < piece) {
                ensureRoom();
                const std::size_t n = std::min(piece - done, chunkSize - _lastChunkUsed);
                std::memcpy(_chunks.back().get() + _lastChunkUsed, bytes + done, n);
                _lastChunkUsed += n;
                done += n;
            }
            _compressedSize += piece;
        }
        bytes += piece;
        count -= piece;
    }
}

void CompressedEntrySource::finish() {
    if (_finished)
        return;
    if (_deflate) {
        _zstream.next_in = nullptr;
        _zstream.avail_in = 0;
        deflateInput(Z_FINISH);
        // The compressor's quarter megabyte goes now, not when the archive is closed: a package
        // holds thousands of finished entries.
        deflateEnd(&_zstream);
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
                                              ZIP_SOURCE_SUPPORTS, -1);
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

} // namespace KX
