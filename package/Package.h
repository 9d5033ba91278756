#pragma once

#include "core/CallableRef.h"
#include "core/Path.h"
#include "core/streams/InputStream.h"
#include "core/streams/OutputStream.h"

#include <cstdint>
#include <memory>

namespace KX {

// A requested compression for a new entry; directories ignore it, zip archives deflate at level 1
// unless Store is asked for.
enum class Compression : std::uint8_t {
    Default = 0,
    Store = 1,
    Deflate = 2,
};

// One entry of one package. Creating a blob does not check that the entry exists; a missing entry
// shows when a stream is opened.
class Blob {
public:
    virtual ~Blob() = default;
    virtual std::unique_ptr<InputStream> openInputStream() = 0;
    // The bytes written become the entry's whole new content.
    virtual std::unique_ptr<OutputStream> openOutputStream() = 0;
};

using BlobUPtr = std::unique_ptr<Blob>;

// A plug-in stored either as a directory tree or as a zip archive. All paths are package paths:
// relative, without a leading separator.
class Package {
public:
    enum class EntryType : std::uint8_t {
        File = 0,
        Directory = 1,
    };

    using TraverseCallback = CallableRef<void(const FileSystem::Path&, EntryType, bool)>;

    virtual ~Package() = default;
    virtual bool hasEntry(const FileSystem::Path& path) const = 0;
    virtual BlobUPtr getEntry(const FileSystem::Path& path) = 0;
    virtual BlobUPtr getEntry(const FileSystem::Path& path) const = 0;
    virtual BlobUPtr addEntry(const FileSystem::Path& path, Compression compression) = 0;
    virtual void deleteEntry(const FileSystem::Path& path) = 0;
    virtual void moveEntry(const FileSystem::Path& from, const FileSystem::Path& to) = 0;
    // Calls back with (path, type, isSymlink) for every file and directory; a directory's path has no
    // trailing separator.
    virtual void traverseEntries(const TraverseCallback& callback) const = 0;
    // Makes every change durable and reports failure by throwing. A directory package changes the
    // disk at once, so there is nothing left to do; a zip package writes its archive out here (and,
    // silently, when it is destroyed unsaved). Entry streams must be closed first.
    virtual void save() = 0;
};

using PackageSPtr = std::shared_ptr<Package>;

} // namespace KX
