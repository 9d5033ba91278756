#pragma once

#include "core/streams/InOutStream.h"
#include "package/EntryNameIndex.h"
#include "package/Package.h"
#include "package/ZipOpenMode.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <zip.h>

namespace KX {

class StreamedArchiveSource;

// A package held in memory as a zip archive, loaded from a stream and written back into it. Entry
// names are the generic UTF-8 texts of package paths; directory entries end in "/".
class ZippedPackage final : public Package, public std::enable_shared_from_this<ZippedPackage> {
public:
    // Use makeZippedPackage; the stream must outlive the package. With replacedFile, the stream is
    // that file open for reading, and saving replaces the file instead of overwriting the stream.
    ZippedPackage(InOutStream& stream, ZipOpenMode mode, bool caseSensitive,
                  std::optional<FileSystem::Path> replacedFile);
    ZippedPackage(const ZippedPackage&) = delete;
    ZippedPackage& operator=(const ZippedPackage&) = delete;
    // Saves when save() was not called, reporting nothing.
    ~ZippedPackage() override;

    bool hasEntry(const FileSystem::Path& path) const override;
    BlobUPtr getEntry(const FileSystem::Path& path) override;
    BlobUPtr getEntry(const FileSystem::Path& path) const override;
    BlobUPtr addEntry(const FileSystem::Path& path, Compression compression) override;
    void deleteEntry(const FileSystem::Path& path) override;
    void moveEntry(const FileSystem::Path& from, const FileSystem::Path& to) override;
    void traverseEntries(const TraverseCallback& callback) const override;
    // Writes the archive out and closes it; the package takes no further work afterwards. Throws
    // when the archive cannot be assembled or written; the destination is then left as it was
    // (a replaced file keeps its old content) and nothing is written at destruction either.
    void save() override;

    // New entries carry Unix permissions 0644 (0755 for folders); this gives an entry others, for
    // example 0755 for an executable file. The entry must exist.
    void setUnixPermissions(const FileSystem::Path& path, std::uint32_t permissions);

    // For the package's blobs.
    zip_t* archive() const;
    zip_int64_t locate(const FileSystem::Path& path) const;
    void markModified() { _modified = true; }

private:
    BlobUPtr makeBlob(const FileSystem::Path& path, Compression compression) const;
    void writeArchive(OutputStream& out);
    void saveReplacingFile(zip_t* zip);
    zip_int64_t replaceEntry(zip_int64_t index, const std::string& name, zip_source_t* data);

    zip_t* _zip = nullptr;
    bool _caseSensitive;
    EntryNameIndex _names;
    zip_source_t* _source = nullptr;
    OutputStream* _output;
    std::optional<FileSystem::Path> _replacedFile;
    // The source of a replaced file's archive, owned by _source.
    StreamedArchiveSource* _streamed = nullptr;
    bool _modified = false;
};

std::shared_ptr<Package> makeZippedPackage(InOutStream& stream, ZipOpenMode mode, bool caseSensitive);
// Over the package file at replacedFile, opened as stream: saving writes a new file beside it and
// replaces it only once the new archive is complete.
std::shared_ptr<Package> makeZippedPackage(InOutStream& stream, ZipOpenMode mode, bool caseSensitive,
                                           const FileSystem::Path& replacedFile);

} // namespace KX
