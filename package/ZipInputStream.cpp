#include "package/ZipInputStream.h"

#include "core/Errors.h"
#include "core/FatalError.h"

#include <algorithm>
#include <cstdio>

namespace KX {

ZipInputStream::~ZipInputStream() {
    zip_fclose(_file);
}

std::pair<const char*, const char*> ZipInputStream::getBuffer() {
    fatalError("The stream is not buffer-based");
}

std::size_t ZipInputStream::read(void* buffer, std::size_t count) {
    const std::int64_t n = std::min<std::int64_t>(static_cast<std::int64_t>(count), _size - _position);
    if (n <= 0)
        return 0;
    if (zip_fread(_file, buffer, static_cast<zip_uint64_t>(n)) != n)
        throw BrokenFileError("Cannot read zip entry");
    _position += n;
    if (_position == _size) {
        // libzip compares the CRC only when a read meets the end of the data; without this probe,
        // damaged stored data would pass unnoticed.
        char probe = 0;
        if (zip_fread(_file, &probe, 1) != 0)
            throw BrokenFileError("Cannot read zip entry");
    }
    return static_cast<std::size_t>(n);
}

std::int64_t ZipInputStream::seek(std::int64_t offset, std::ios_base::seekdir origin) {
    if (!_seekable)
        fatalError("Zip stream is not seekable");
    int result = 0;
    if (origin == std::ios_base::beg) {
        const std::int64_t target = std::clamp<std::int64_t>(offset, 0, _size);
        if (target == _position)
            return _position;
        result = zip_fseek(_file, target, SEEK_SET);
    } else if (origin == std::ios_base::cur) {
        if (offset == 0)
            return _position;
        const std::int64_t clamped = std::clamp<std::int64_t>(offset, -_position, _size - _position);
        result = zip_fseek(_file, clamped, SEEK_CUR);
    } else if (origin == std::ios_base::end) {
        result = zip_fseek(_file, std::clamp<std::int64_t>(offset, -_size, 0), SEEK_END);
    }
    if (result != 0)
        throw BrokenFileError("Cannot seek in zip file");
    _position = zip_ftell(_file);
    return _position;
}

} // namespace KX
