#include "package/ZipOutputStream.h"

#include "core/FatalError.h"
#include "package/CompressedEntrySource.h"

namespace KX {

ZipOutputStream::~ZipOutputStream() {
    try {
        _source->finish();
    } catch (const std::exception&) {
        // The entry then fails when the archive is saved, and the save reports it.
    }
}

std::int64_t ZipOutputStream::write(const void* data, std::size_t count) {
    _source->write(data, count);
    return static_cast<std::int64_t>(count);
}

std::pair<const char*, const char*> ZipOutputStream::getBuffer() {
    fatalError("The stream is not buffer-based");
}

std::int64_t ZipOutputStream::seek(std::int64_t, std::ios_base::seekdir) {
    fatalError("The stream is not seekable");
}

void ZipOutputStream::resize(std::size_t) {
    fatalError("The stream is not resizable");
}

} // namespace KX
