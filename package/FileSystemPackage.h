#pragma once

#include "package/Package.h"

#include <memory>

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
    void save() override {}

private:
    FileSystem::Path fullPath(const FileSystem::Path& path) const { return _root / path; }

    FileSystem::Path _root;
};

// Throws MakePackageError when nothing exists at directory.
std::shared_ptr<Package> openFileSystemPackage(const FileSystem::Path& directory);
std::shared_ptr<Package> makeFileSystemPackage(const FileSystem::Path& directory);

} // namespace KX
