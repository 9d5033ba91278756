#pragma once

#include "core/Path.h"
#include "core/streams/InOutStream.h"

#include <cstdint>
#include <memory>
#include <string>

namespace KX {

enum class FileOpenMode : std::uint8_t {
    Append = 0,           // opened or created; writes go to the end
    CreateOrTruncate = 1, // created, or emptied if it exists
    OpenExisting = 2,     // must exist
};

// The openers throw the device library's std::ios_base::failure ("failed opening file ...") when the
// file cannot be opened. Files stay shared: other processes may read and write them meanwhile.
std::unique_ptr<InputStream> openFileForReading(const FileSystem::Path& path);
std::unique_ptr<OutputStream> openFileForWriting(const FileSystem::Path& path, bool truncate);
std::unique_ptr<InOutStream> openFileForReadWrite(const FileSystem::Path& path, FileOpenMode mode);

// Opens a named input file given as UTF-8; kind names it in messages ("certificate", "private key").
// Throws InvalidArgumentError, BrokenFileError or IOError with a readable message.
std::unique_ptr<InputStream> openInputFile(const std::string& path, const char* kind);

} // namespace KX
