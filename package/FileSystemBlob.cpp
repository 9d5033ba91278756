#include "package/FileSystemBlob.h"

#include "core/streams/FileStreams.h"

namespace KX {

std::unique_ptr<InputStream> FileSystemBlob::openInputStream() {
    return openFileForReading(_fullPath);
}

std::unique_ptr<OutputStream> FileSystemBlob::openOutputStream() {
    return openFileForWriting(_fullPath, true);
}

} // namespace KX
