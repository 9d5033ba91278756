#include "package/FileSystemPackage.h"

#include "core/Errors.h"
#include "core/FileSystem.h"
#include "package/FileSystemBlob.h"
#include "package/TraverseFiles.h"

#include <boost/filesystem/fstream.hpp>
#include <boost/filesystem/operations.hpp>

namespace KX {

namespace fs = boost::filesystem;

namespace {
FileSystem::Path makeAbsolute(const FileSystem::Path& root) {
    if (root.boostPath().is_absolute())
        return root;
    return FileSystem::Path(fs::current_path()) / root;
}
} // namespace

FileSystemPackage::FileSystemPackage(const FileSystem::Path& root) : _root(makeAbsolute(root)) {}

bool FileSystemPackage::hasEntry(const FileSystem::Path& path) const {
    return FileSystem::exists(fullPath(path));
}

BlobUPtr FileSystemPackage::getEntry(const FileSystem::Path& path) {
    return std::make_unique<FileSystemBlob>(fullPath(path));
}

BlobUPtr FileSystemPackage::getEntry(const FileSystem::Path& path) const {
    return std::make_unique<FileSystemBlob>(fullPath(path));
}

BlobUPtr FileSystemPackage::addEntry(const FileSystem::Path& path, Compression compression) {
    if (static_cast<std::uint8_t>(compression) >= static_cast<std::uint8_t>(Compression::Deflate))
        throw MakePackageError("Compression value for adding entry {} is not supported", path);
    const fs::path full = fullPath(path).boostPath();
    if (full.has_parent_path())
        fs::create_directories(full.parent_path());
    {
        // Creates or empties the file; a failure shows when the blob's stream is opened.
        fs::ofstream file(full, std::ios_base::out | std::ios_base::trunc | std::ios_base::binary);
    }
    return getEntry(path);
}

void FileSystemPackage::deleteEntry(const FileSystem::Path& path) {
    fs::remove(fullPath(path).boostPath());
}

void FileSystemPackage::moveEntry(const FileSystem::Path& from, const FileSystem::Path& to) {
    fs::rename(fullPath(from).boostPath(), fullPath(to).boostPath());
}

void FileSystemPackage::traverseEntries(const TraverseCallback& callback) const {
    const auto adaptor = [&](const FileSystem::Path& entry) {
        const fs::path native = entry.boostPath();
        const bool isSymlink = fs::is_symlink(fs::symlink_status(native));
        const EntryType type = fs::is_directory(native) ? EntryType::Directory : EntryType::File;
        callback(entry.lexically_relative(_root), type, isSymlink);
        return true;
    };
    FileSystem::traverseFiles(_root, makeCallableRef<bool(const FileSystem::Path&)>(adaptor));
}

std::shared_ptr<Package> openFileSystemPackage(const FileSystem::Path& directory) {
    if (!FileSystem::exists(directory))
        throw MakePackageError("Failed to open file system package. Path \"{}\" doesn't exist",
                               directory.u8string());
    return std::make_shared<FileSystemPackage>(directory);
}

std::shared_ptr<Package> makeFileSystemPackage(const FileSystem::Path& directory) {
    return std::make_shared<FileSystemPackage>(directory);
}

} // namespace KX
