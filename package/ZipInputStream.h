#pragma once

#include "core/streams/InputStream.h"

#include <cstdint>
#include <zip.h>

namespace KX {

// The content of one zip entry, decompressed as it is read. Holds no reference to the package:
// it must be destroyed before the package.
class ZipInputStream final : public InputStream {
public:
    ZipInputStream(zip_t* archive, zip_file_t* file, std::int64_t size, bool seekable)
        : _archive(archive), _file(file), _size(size), _seekable(seekable) {}
    ZipInputStream(const ZipInputStream&) = delete;
    ZipInputStream& operator=(const ZipInputStream&) = delete;
    ~ZipInputStream() override;

    std::size_t read(void* buffer, std::size_t count) override;
    bool isBufferBased() const override { return false; }
    std::pair<const char*, const char*> getBuffer() override;
    bool isSeekable() const override { return _seekable; }
    std::int64_t seek(std::int64_t offset, std::ios_base::seekdir origin) override;

private:
    zip_t* _archive;
    zip_file_t* _file;
    std::int64_t _size;
    std::int64_t _position = 0;
    bool _seekable;
};

} // namespace KX
