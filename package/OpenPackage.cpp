#include "core/Errors.h"
#include "package/FileSystemPackage.h"
#include "package/OpenedPackage.h"
#include "package/ZippedPackage.h"

#include <boost/filesystem/operations.hpp>

namespace KX {

OpenedPackage openPackage(const std::string& path, ZipOpenMode zipMode, FileOpenMode fileMode) {
    const FileSystem::Path location(path);
    if (boost::filesystem::is_directory(location.boostPath()))
        return OpenedPackage{nullptr, makeFileSystemPackage(location)};
    OpenedPackage opened;
    try {
        opened.stream = openFileForReadWrite(location, fileMode);
    } catch (const std::exception& e) {
        throw IOError("file '{}' cannot be opened ({})", path, e.what());
    }
    opened.package = makeZippedPackage(*opened.stream, zipMode, false, location);
    return opened;
}

} // namespace KX
