#include "core/streams/FileStreams.h"

#include "core/Errors.h"
#include "core/FileSystem.h"
#include "core/streams/BoostDeviceToStreamAdapter.h"

#include <boost/filesystem/operations.hpp>

namespace KX {

namespace io = boost::iostreams;

std::unique_ptr<InputStream> openFileForReading(const FileSystem::Path& path) {
    io::file_descriptor_source device(path.native(), std::ios_base::in | std::ios_base::binary);
    return std::make_unique<BoostDeviceToInputStreamAdapter<io::file_descriptor_source>>(std::move(device));
}

std::unique_ptr<OutputStream> openFileForWriting(const FileSystem::Path& path, bool truncate) {
    const auto mode = truncate ? std::ios_base::out | std::ios_base::trunc | std::ios_base::binary
                               : std::ios_base::out | std::ios_base::app | std::ios_base::binary;
    io::file_descriptor_sink device(path.native(), mode);
    return std::make_unique<BoostDeviceToOutputStreamAdapter<io::file_descriptor_sink>>(std::move(device));
}

std::unique_ptr<InOutStream> openFileForReadWrite(const FileSystem::Path& path, FileOpenMode mode) {
    std::ios_base::openmode flags = std::ios_base::in | std::ios_base::out | std::ios_base::binary;
    switch (mode) {
    case FileOpenMode::Append:
        flags |= std::ios_base::app;
        break;
    case FileOpenMode::CreateOrTruncate:
        flags |= std::ios_base::trunc;
        break;
    case FileOpenMode::OpenExisting:
        break;
    }
    io::file_descriptor device(path.native(), flags);
    return std::make_unique<BoostDeviceToInOutStreamAdapter<io::file_descriptor>>(std::move(device));
}

std::unique_ptr<InputStream> openInputFile(const std::string& path, const char* kind) {
    if (path.empty())
        throw InvalidArgumentError("the {} path is empty", kind);
    const FileSystem::Path filePath(path);
    if (!FileSystem::exists(filePath))
        throw BrokenFileError("the {} file '{}' doesn't exist", kind, path);
    // A directory opens like a file on some systems and only fails on the first read, far from here.
    boost::system::error_code ignored;
    if (boost::filesystem::is_directory(boost::filesystem::path(path), ignored))
        throw BrokenFileError("the {} file '{}' is a directory", kind, path);
    try {
        return openFileForReading(filePath);
    } catch (const std::exception& e) {
        throw IOError("the {} file '{}' cannot be opened ({})", kind, path, e.what());
    }
}

} // namespace KX
