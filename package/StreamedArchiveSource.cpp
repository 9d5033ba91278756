#include "package/StreamedArchiveSource.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ios>
#include <memory>
#include <sys/mman.h>

namespace KX {

zip_source_t* StreamedArchiveSource::create(char* bytes, std::size_t size, Ownership ownership,
                                            zip_error_t* error, StreamedArchiveSource*& state) {
    auto owned = std::unique_ptr<StreamedArchiveSource>(new StreamedArchiveSource(bytes, size, ownership));
    zip_source_t* source = zip_source_function_create(&StreamedArchiveSource::callback, owned.get(), error);
    if (source == nullptr) {
        owned->_bytes = nullptr; // the caller still owns them
        return nullptr;
    }
    state = owned.release();
    return source;
}

StreamedArchiveSource::StreamedArchiveSource(char* bytes, std::size_t size, Ownership ownership)
    : _bytes(bytes), _size(size), _ownership(ownership) {
    zip_error_init(&_error);
}

StreamedArchiveSource::~StreamedArchiveSource() {
    if (_ownership == Ownership::Mapped) {
        if (_bytes != nullptr)
            ::munmap(_bytes, _size);
    } else {
        std::free(_bytes);
    }
    zip_error_fini(&_error);
}

zip_int64_t StreamedArchiveSource::callback(void* state, void* data, zip_uint64_t length,
                                            zip_source_cmd_t command) {
    auto* self = static_cast<StreamedArchiveSource*>(state);
    if (command == ZIP_SOURCE_FREE) {
        delete self;
        return 0;
    }
    try {
        return self->handle(data, length, command);
    } catch (const std::ios_base::failure& e) {
        self->_destinationFailure = e.what();
        zip_error_set(&self->_error, ZIP_ER_WRITE, e.code().value());
    } catch (const std::exception&) {
        zip_error_set(&self->_error, ZIP_ER_INTERNAL, 0);
    }
    return -1;
}

zip_int64_t StreamedArchiveSource::handle(void* data, zip_uint64_t length, zip_source_cmd_t command) {
    switch (command) {
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(
            ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR,
            ZIP_SOURCE_FREE, ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL, ZIP_SOURCE_SUPPORTS, ZIP_SOURCE_BEGIN_WRITE,
            ZIP_SOURCE_WRITE, ZIP_SOURCE_COMMIT_WRITE, ZIP_SOURCE_ROLLBACK_WRITE, ZIP_SOURCE_SEEK_WRITE,
            ZIP_SOURCE_TELL_WRITE, ZIP_SOURCE_REMOVE, -1);
    case ZIP_SOURCE_OPEN:
        _readPosition = 0;
        return 0;
    case ZIP_SOURCE_READ:
        return read(data, length);
    case ZIP_SOURCE_CLOSE:
        return 0;
    case ZIP_SOURCE_STAT:
        return stat(data, length);
    case ZIP_SOURCE_SEEK: {
        const zip_int64_t target =
            zip_source_seek_compute_offset(_readPosition, _size, data, length, &_error);
        if (target < 0)
            return -1;
        _readPosition = static_cast<std::uint64_t>(target);
        return 0;
    }
    case ZIP_SOURCE_TELL:
        return static_cast<zip_int64_t>(_readPosition);
    case ZIP_SOURCE_BEGIN_WRITE:
        beginWrite();
        return 0;
    case ZIP_SOURCE_WRITE:
        write(static_cast<const char*>(data), static_cast<std::size_t>(length));
        return static_cast<zip_int64_t>(length);
    case ZIP_SOURCE_SEEK_WRITE:
        return seekWrite(data, length);
    case ZIP_SOURCE_TELL_WRITE:
        return static_cast<zip_int64_t>(_writePosition);
    case ZIP_SOURCE_COMMIT_WRITE:
        commitWrite();
        return 0;
    case ZIP_SOURCE_ROLLBACK_WRITE:
        _pending.clear();
        return 0;
    case ZIP_SOURCE_REMOVE:
        // No entries are left: the archive becomes an empty file.
        beginWrite();
        commitWrite();
        return 0;
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&_error, data, length);
    default:
        zip_error_set(&_error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}

zip_int64_t StreamedArchiveSource::read(void* data, zip_uint64_t length) {
    const std::uint64_t n =
        std::min<std::uint64_t>(length, _size - std::min<std::uint64_t>(_readPosition, _size));
    if (n > 0)
        std::memcpy(data, _bytes + _readPosition, static_cast<std::size_t>(n));
    _readPosition += n;
    return static_cast<zip_int64_t>(n);
}

zip_int64_t StreamedArchiveSource::stat(void* data, zip_uint64_t length) {
    auto* stat = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &_error);
    if (stat == nullptr)
        return -1;
    zip_stat_init(stat);
    stat->valid = ZIP_STAT_SIZE;
    stat->size = _size;
    return static_cast<zip_int64_t>(sizeof(zip_stat_t));
}

zip_int64_t StreamedArchiveSource::seekWrite(void* data, zip_uint64_t length) {
    const zip_int64_t target =
        zip_source_seek_compute_offset(_writePosition, _writtenLength, data, length, &_error);
    if (target < 0)
        return -1;
    _writePosition = static_cast<std::uint64_t>(target);
    return 0;
}

void StreamedArchiveSource::beginWrite() {
    if (_destination == nullptr)
        throw std::logic_error("no destination for the archive");
    _pending.clear();
    _pendingStart = 0;
    _writePosition = 0;
    _writtenLength = 0;
    _written = false;
    _destination->seek(0, std::ios_base::beg);
}

void StreamedArchiveSource::write(const char* data, std::size_t count) {
    const std::uint64_t pendingEnd = _pendingStart + _pending.size();
    if (_writePosition < _pendingStart || _writePosition > pendingEnd) {
        flush();
        _pendingStart = _writePosition;
    }
    const auto offset = static_cast<std::size_t>(_writePosition - _pendingStart);
    if (offset + count > _pending.size())
        _pending.resize(offset + count);
    std::memcpy(_pending.data() + offset, data, count);
    _writePosition += count;
    _writtenLength = std::max(_writtenLength, _writePosition);
    if (_pending.size() >= bufferLimit) {
        flush();
        _pendingStart = _writePosition;
    }
}

void StreamedArchiveSource::flush() {
    if (_pending.empty())
        return;
    _destination->seek(static_cast<std::int64_t>(_pendingStart), std::ios_base::beg);
    if (_destination->write(_pending.data(), _pending.size()) != static_cast<std::int64_t>(_pending.size()))
        throw std::ios_base::failure("failed writing the archive");
    _pending.clear();
}

void StreamedArchiveSource::commitWrite() {
    flush();
    _destination->resize(static_cast<std::size_t>(_writtenLength));
    _written = true;
}

} // namespace KX
