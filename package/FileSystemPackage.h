#pragma once

#include "package/Package.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace KX {

// A plug-in under development: every operation maps straight onto the directory tree below the root.
class FileSystemPackage final : public Package {
public:
    // A relative root is fixed against the current directory now, so a later change of directory
    // does not move the package.
    explicit FileSystemPackage(const FileSystem::Path& root);

    const FileSystem::Path& root() const { return _root; }

    bool hasEntry(const FileSystem::Path& path) const override;
    BlobUPtr getEntry(const FileSystem::Path& path) override;
    BlobUPtr getEntry(const FileSystem::Path& path) const override;
    BlobUPtr addEntry(const FileSystem::Path& path, Compression compression) override;
    void deleteEntry(const FileSystem::Path& path) override;
    void moveEntry(const FileSystem::Path& from, const FileSystem::Path& to) override;
    void traverseEntries(const TraverseCallback& callback) const override;

    // One entry of the tree, with what the walk learnt of it on the way.
    struct WalkedEntry {
        const FileSystem::Path& path; // below the root
        EntryType type;
        bool isSymlink;
        bool isExecutable;
        std::uint64_t size; // of a regular file, as the walk found it
    };
    // As traverseEntries, and says which files the owner may run without asking the system again.
    void traverseWalkedEntries(const CallableRef<void(const WalkedEntry&)>& callback) const;

    // Walks the tree once now; later traversals replay that walk instead of walking again, so that
    // work made of several passes over a large tree sees one set of files and lists it once. A
    // change made through the package ends the replay.
    void keepListing();
    void save() override {}

private:
    FileSystem::Path relativeToRoot(const FileSystem::Path& full) const;
    FileSystem::Path fullPath(const FileSystem::Path& path) const { return _root / path; }

    struct ListedEntry {
        FileSystem::Path path;
        EntryType type;
        bool isSymlink;
        bool isExecutable;
        std::uint64_t size;
    };

    FileSystem::Path _root;
    std::optional<std::vector<ListedEntry>> _listing;
};

// Throws MakePackageError when nothing exists at directory.
std::shared_ptr<Package> openFileSystemPackage(const FileSystem::Path& directory);
std::shared_ptr<Package> makeFileSystemPackage(const FileSystem::Path& directory);

} // namespace KX
