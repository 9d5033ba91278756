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
    _listing.reset();
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
    _listing.reset();
    fs::remove(fullPath(path).boostPath());
}

void FileSystemPackage::moveEntry(const FileSystem::Path& from, const FileSystem::Path& to) {
    _listing.reset();
    fs::rename(fullPath(from).boostPath(), fullPath(to).boostPath());
}

// The walk names every entry as the root, a '/' and the rest; cutting the root off is what the
// element-wise comparison would give, without splitting two paths per entry of a large tree.
FileSystem::Path FileSystemPackage::relativeToRoot(const FileSystem::Path& full) const {
    const std::string& text = full.native();
    const std::string& root = _root.native();
    const bool plainSuffix = text.size() > root.size() + 1 && text.compare(0, root.size(), root) == 0 &&
                             text[root.size()] == '/' && text.find('\\', root.size()) == std::string::npos;
    if (plainSuffix)
        return FileSystem::Path(text.substr(root.size() + 1));
    return full.lexically_relative(_root);
}

void FileSystemPackage::keepListing() {
    std::vector<ListedEntry> listing;
    const auto keep = [&](const WalkedEntry& entry) {
        listing.push_back(
            ListedEntry{entry.path, entry.type, entry.isSymlink, entry.isExecutable, entry.size});
    };
    _listing.reset();
    traverseWalkedEntries(makeCallableRef<void(const WalkedEntry&)>(keep));
    _listing = std::move(listing);
}

void FileSystemPackage::traverseWalkedEntries(const CallableRef<void(const WalkedEntry&)>& callback) const {
    if (_listing) {
        for (const ListedEntry& entry : *_listing)
            callback(WalkedEntry{entry.path, entry.type, entry.isSymlink, entry.isExecutable, entry.size});
        return;
    }
    const auto adaptor = [&](const FileSystem::WalkedEntry& entry) {
        const EntryType type = entry.isDirectory ? EntryType::Directory : EntryType::File;
        const FileSystem::Path relative = relativeToRoot(entry.path);
        callback(WalkedEntry{relative, type, entry.isSymlink, entry.isExecutable, entry.size});
        return true;
    };
    FileSystem::traverseFiles(_root, makeCallableRef<bool(const FileSystem::WalkedEntry&)>(adaptor));
}

void FileSystemPackage::traverseEntries(const TraverseCallback& callback) const {
    const auto adaptor = [&](const WalkedEntry& entry) { callback(entry.path, entry.type, entry.isSymlink); };
    traverseWalkedEntries(makeCallableRef<void(const WalkedEntry&)>(adaptor));
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
