#pragma once

#include "core/streams/OutputStream.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>
#include <zip.h>

namespace KX {

// The libzip source of an archive loaded into memory whose new version goes straight into another
// stream: libzip reads the old archive (and copies its unchanged entries, compressed as they are)
// from memory and writes the new one through a small buffer into the destination, so saving costs
// no second copy of the archive in memory.
class StreamedArchiveSource {
public:
    // How the archive's bytes came, and so how they are let go with the source.
    enum class Ownership { Malloced, Mapped };
    // Takes the bytes (freed or unmapped with the source). Returns null (with error set) when the
    // source cannot be made.
    static zip_source_t* create(char* bytes, std::size_t size, Ownership ownership, zip_error_t* error,
                                StreamedArchiveSource*& state);

    StreamedArchiveSource(const StreamedArchiveSource&) = delete;
    StreamedArchiveSource& operator=(const StreamedArchiveSource&) = delete;
    ~StreamedArchiveSource();

    // Where the next archive libzip writes goes, from its start; the stream must be seekable and
    // resizable and must outlive the write.
    void setDestination(OutputStream* destination) { _destination = destination; }
    // Whether libzip completed a new archive (or, having no entries left, removed the archive: the
    // destination is then empty).
    bool written() const { return _written; }
    // The message of the destination's failure that made libzip give up, if that was the cause.
    const std::string& destinationFailure() const { return _destinationFailure; }

private:
    StreamedArchiveSource(char* bytes, std::size_t size, Ownership ownership);
    static zip_int64_t callback(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command);
    zip_int64_t handle(void* data, zip_uint64_t length, zip_source_cmd_t command);
    zip_int64_t read(void* data, zip_uint64_t length);
    zip_int64_t stat(void* data, zip_uint64_t length);
    zip_int64_t seekWrite(void* data, zip_uint64_t length);
    void write(const char* data, std::size_t count);
    void flush();
    void beginWrite();
    void commitWrite();

    // Small local headers are rewritten after their entry's data; this much stays buffered so that
    // the rewrite of a small entry's header costs no seek in the destination.
    static constexpr std::size_t bufferLimit = 1024 * 1024;

    char* _bytes;
    std::size_t _size;
    Ownership _ownership;
    std::uint64_t _readPosition = 0;
    OutputStream* _destination = nullptr;
    std::vector<char> _pending;
    std::uint64_t _pendingStart = 0;
    std::uint64_t _writePosition = 0;
    std::uint64_t _writtenLength = 0;
    bool _written = false;
    std::string _destinationFailure;
    zip_error_t _error{};
};

} // namespace KX
