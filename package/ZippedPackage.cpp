#include "package/ZippedPackage.h"

#include "core/Errors.h"
#include "core/FatalError.h"
#include "package/FileReplacement.h"
#include "package/StreamedArchiveSource.h"
#include "package/ZippedBlob.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <sys/mman.h>
#include <sys/stat.h>

namespace KX {

namespace {

constexpr std::size_t initialLoadBuffer = 65536;
constexpr std::size_t writeBackChunk = 16384;

int openFlags(ZipOpenMode mode) {
    switch (mode) {
    case ZipOpenMode::OpenOrCreate:
        return ZIP_CREATE | ZIP_CHECKCONS;
    case ZipOpenMode::CreateNew:
        return ZIP_CREATE | ZIP_TRUNCATE;
    case ZipOpenMode::OpenExisting:
        break;
    }
    return 0;
}

std::size_t readFully(InputStream& stream, char* buffer, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const std::size_t got = stream.read(buffer + done, count - done);
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

// The archive's bytes: malloc'ed, since libzip frees the bytes it is given with free(), or a
// read-only mapping of the file for a source of our own that unmaps it.
struct ArchiveBytes {
    char* data = nullptr;
    std::size_t size = 0;
    bool mapped = false;
    ~ArchiveBytes() {
        if (!mapped)
            std::free(data);
        else if (data != nullptr)
            ::munmap(data, size);
    }
    void resize(std::size_t newSize) {
        KX_ASSERT(!mapped);
        void* grown = std::realloc(data, newSize == 0 ? 1 : newSize);
        if (grown == nullptr)
            throw std::bad_alloc();
        data = static_cast<char*>(grown);
        size = newSize;
    }
    char* release() { return std::exchange(data, nullptr); }
};

// Maps the file under the stream when the stream is a file read from its start; a package signed
// in place is read twice (digests, then the copy into the new file), and a mapping costs neither a
// copy nor fresh memory. False, with nothing mapped, when the stream is not such a file.
bool mapArchive(const InputStream& stream, std::int64_t position, ArchiveBytes& bytes) {
    const int descriptor = stream.fileDescriptor();
    struct stat status {};
    if (descriptor < 0 || position != 4 || ::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_size <= 4)
        return false;
    const auto size = static_cast<std::size_t>(status.st_size);
    void* mapping = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, descriptor, 0);
    if (mapping == MAP_FAILED)
        return false;
    ::madvise(mapping, size, MADV_WILLNEED);
    bytes.data = static_cast<char*>(mapping);
    bytes.size = size;
    bytes.mapped = true;
    return true;
}

// Reads the whole archive: by its length when the stream can tell it, else growing by doubling.
void loadArchive(InputStream& stream, const std::array<char, 4>& head, ArchiveBytes& buffer) {
    if (stream.isSeekable()) {
        const std::int64_t position = stream.seek(0, std::ios_base::cur);
        const std::int64_t length = stream.size();
        const auto total = static_cast<std::size_t>(std::max<std::int64_t>(length - position + 4, 4));
        buffer.resize(total);
        std::memcpy(buffer.data, head.data(), head.size());
        buffer.resize(4 + readFully(stream, buffer.data + 4, total - 4));
        return;
    }
    buffer.resize(initialLoadBuffer);
    std::memcpy(buffer.data, head.data(), head.size());
    std::size_t used = head.size();
    for (;;) {
        if (used == buffer.size)
            buffer.resize(buffer.size * 2);
        const std::size_t got = stream.read(buffer.data + used, buffer.size - used);
        if (got == 0)
            break;
        used += got;
    }
    buffer.resize(used);
}

// Unix file type and permissions, as zip and unzip keep them: the upper half of the external
// attributes, under the "made by" system Unix. Without them unzip makes folders nobody but root
// can enter.
constexpr std::uint32_t directoryType = 0040000;
constexpr std::uint32_t regularFileType = 0100000;
constexpr std::uint32_t directoryMode = directoryType | 0755;
constexpr std::uint32_t fileMode = regularFileType | 0644;

zip_uint32_t unixAttributes(std::uint32_t mode) {
    return static_cast<zip_uint32_t>(mode) << 16;
}

struct UnixAttributes {
    zip_uint8_t system;
    zip_uint32_t attributes;
};

UnixAttributes attributesOf(zip_t* zip, zip_uint64_t index) {
    UnixAttributes result{ZIP_OPSYS_UNIX, 0};
    zip_file_get_external_attributes(zip, index, 0, &result.system, &result.attributes);
    return result;
}

} // namespace

ZippedPackage::ZippedPackage(InOutStream& stream, ZipOpenMode mode, bool caseSensitive,
                             std::optional<FileSystem::Path> replacedFile)
    : _caseSensitive(caseSensitive), _names(caseSensitive), _output(&stream),
      _replacedFile(std::move(replacedFile)) {
    KX_ASSERT(stream.isSeekable());
    KX_ASSERT(stream.isResizable());
    const int flags = openFlags(mode);

    std::array<char, 4> head{};
    const std::size_t headSize = readFully(stream, head.data(), head.size());
    if (headSize == 0 && (flags & ZIP_CREATE) == 0)
        throw BrokenFileError("ZIP stream cannot be read");

    ArchiveBytes bytes;
    if (headSize > 0 && (flags & ZIP_TRUNCATE) == 0) {
        static constexpr std::array<char, 4> localHeader{'P', 'K', '\x03', '\x04'};
        if (headSize < head.size() || head != localHeader)
            throw BrokenFileError("Malformed ZIP package");
        // Only a replaced file is mapped: it is never written in place, so the mapping stays the old
        // archive until the new one takes its name.
        if (!_replacedFile || !mapArchive(stream, stream.seek(0, std::ios_base::cur), bytes))
            loadArchive(stream, head, bytes);
    }

    zip_error_t error;
    zip_error_init(&error);
    const std::size_t size = bytes.size;
    char* data = size > 0 ? bytes.data : nullptr;
    // A replaced file gets the new archive straight from libzip; a stream gets it copied from memory
    // once it is complete, so that a failed assembly leaves the stream as it was.
    const auto ownership =
        bytes.mapped ? StreamedArchiveSource::Ownership::Mapped : StreamedArchiveSource::Ownership::Malloced;
    zip_source_t* source = _replacedFile
                               ? StreamedArchiveSource::create(data, size, ownership, &error, _streamed)
                               : zip_source_buffer_create(data, size, 1, &error);
    if (source == nullptr) {
        const std::string text = zip_error_strerror(&error);
        zip_error_fini(&error);
        throw BrokenFileError("Cannot open: {}", text);
    }
    bytes.release();
    _zip = zip_open_from_source(source, flags, &error);
    if (_zip == nullptr) {
        zip_source_free(source);
        const std::string text = zip_error_strerror(&error);
        zip_error_fini(&error);
        throw BrokenFileError("Cannot open: {}", text);
    }
    zip_error_fini(&error);
    zip_source_keep(source);
    _source = source;
    _names.build(_zip);
}

ZippedPackage::~ZippedPackage() {
    try {
        save();
    } catch (const std::exception&) {
        // Destruction cannot report; callers that need to know call save() first.
    }
    if (_zip != nullptr)
        zip_discard(_zip);
    if (_source != nullptr)
        zip_source_free(_source);
}

zip_t* ZippedPackage::archive() const {
    zip_t* zip = _zip;
    KX_ASSERT(zip);
    return zip;
}

zip_int64_t ZippedPackage::locate(const FileSystem::Path& path) const {
    static_cast<void>(archive());
    return _names.find(path.generic_u8string());
}

bool ZippedPackage::hasEntry(const FileSystem::Path& path) const {
    return locate(path) >= 0;
}

BlobUPtr ZippedPackage::makeBlob(const FileSystem::Path& pathInPackage, Compression compression) const {
    KX_ASSERT(!pathInPackage.startsWithSlash());
    auto self = std::const_pointer_cast<ZippedPackage>(shared_from_this());
    return std::make_unique<ZippedBlob>(std::move(self), pathInPackage, compression);
}

BlobUPtr ZippedPackage::getEntry(const FileSystem::Path& path) {
    return makeBlob(path, Compression::Default);
}

BlobUPtr ZippedPackage::getEntry(const FileSystem::Path& path) const {
    return makeBlob(path, Compression::Default);
}

BlobUPtr ZippedPackage::addEntry(const FileSystem::Path& pathInPackage, Compression compression) {
    KX_ASSERT(!pathInPackage.startsWithSlash());
    if (pathInPackage.empty())
        throw InvalidArgumentError(
            "{}. Can't add entry with empty path",
            "virtual KX::BlobUPtr KX::ZippedPackage::addEntry(const FileSystem::Path &, KX::Compression)");
    zip_t* zip = archive();
    const std::string name = pathInPackage.generic_u8string();
    // A replaced entry keeps the attributes it came with; a new one gets those a packer writes.
    const zip_int64_t existing = _names.find(name);
    std::optional<UnixAttributes> kept;
    if (existing >= 0)
        kept = attributesOf(zip, static_cast<zip_uint64_t>(existing));
    zip_source_t* empty = zip_source_buffer(zip, nullptr, 0, 0);
    if (empty == nullptr)
        throw std::bad_alloc();
    const zip_int64_t index = existing >= 0 ? replaceEntry(existing, name, empty)
                                            : zip_file_add(zip, name.c_str(), empty, ZIP_FL_ENC_UTF_8);
    if (index < 0)
        zip_source_free(empty);
    KX_ASSERT(index >= 0);
    _names.insert(name, static_cast<zip_uint64_t>(index));
    const UnixAttributes attributes = kept.value_or(
        UnixAttributes{ZIP_OPSYS_UNIX, unixAttributes(name.ends_with('/') ? directoryMode : fileMode)});
    zip_file_set_external_attributes(zip, static_cast<zip_uint64_t>(index), 0, attributes.system,
                                     attributes.attributes);
    _modified = true;
    return makeBlob(pathInPackage, compression);
}

void ZippedPackage::setUnixPermissions(const FileSystem::Path& path, std::uint32_t permissions) {
    const zip_int64_t index = locate(path);
    KX_ASSERT(index >= 0);
    const std::uint32_t type = path.generic_u8string().ends_with('/') ? directoryType : regularFileType;
    zip_file_set_external_attributes(archive(), static_cast<zip_uint64_t>(index), 0, ZIP_OPSYS_UNIX,
                                     unixAttributes(type | (permissions & 07777)));
    _modified = true;
}

// What adding with libzip's overwrite flag does to an entry found under the name: the entry takes the
// name as spelt now and the new data.
zip_int64_t ZippedPackage::replaceEntry(zip_int64_t index, const std::string& name, zip_source_t* data) {
    zip_t* zip = archive();
    const auto uindex = static_cast<zip_uint64_t>(index);
    const char* current = zip_get_name(zip, uindex, 0);
    if (current == nullptr)
        return -1;
    if (name != current) {
        const std::string previous = current;
        if (zip_file_rename(zip, uindex, name.c_str(), ZIP_FL_ENC_UTF_8) != 0)
            return -1;
        _names.erase(previous, uindex);
    }
    if (zip_file_replace(zip, uindex, data, 0) != 0)
        return -1;
    return index;
}

void ZippedPackage::deleteEntry(const FileSystem::Path& path) {
    const zip_int64_t index = locate(path);
    KX_ASSERT(index >= 0);
    const int deleteEntryFromZipResult = zip_delete(archive(), static_cast<zip_uint64_t>(index));
    KX_ASSERT(deleteEntryFromZipResult >= 0);
    _names.erase(path.generic_u8string(), static_cast<zip_uint64_t>(index));
    _modified = true;
}

void ZippedPackage::moveEntry(const FileSystem::Path& from, const FileSystem::Path& to) {
    const zip_int64_t index = locate(from);
    if (index < 0)
        throw InvalidArgumentError("Can't move entry {} as it doesn't exist in zip package.", from);
    const std::string name = to.generic_u8string();
    const int renameEntryInZipResult =
        zip_file_rename(archive(), static_cast<zip_uint64_t>(index), name.c_str(), ZIP_FL_ENC_UTF_8);
    KX_ASSERT(renameEntryInZipResult >= 0);
    _names.erase(from.generic_u8string(), static_cast<zip_uint64_t>(index));
    _names.insert(name, static_cast<zip_uint64_t>(index));
    _modified = true;
}

void ZippedPackage::traverseEntries(const TraverseCallback& callback) const {
    zip_t* zip = archive();
    const zip_int64_t count = zip_get_num_entries(zip, ZIP_FL_UNCHANGED);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(zip, static_cast<zip_uint64_t>(i), ZIP_FL_UNCHANGED);
        if (name == nullptr) {
            zip_error_t* error = zip_get_error(zip);
            const int code = zip_error_code_zip(error);
            zip_error_clear(zip);
            if (code == ZIP_ER_MEMORY)
                throw std::bad_alloc();
            continue;
        }
        FileSystem::Path path(name);
        EntryType type = EntryType::File;
        if (path.generic_u8string().ends_with('/')) {
            path.remove_trailing_separator();
            type = EntryType::Directory;
        }
        callback(path, type, false);
    }
}

void ZippedPackage::writeArchive(OutputStream& out) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_stat(_source, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0)
        throw IOError("the new archive cannot be read ({})", zip_error_strerror(zip_source_error(_source)));
    if (zip_source_open(_source) != 0)
        throw IOError("the new archive cannot be read ({})", zip_error_strerror(zip_source_error(_source)));
    struct Closer {
        zip_source_t* source;
        ~Closer() { zip_source_close(source); }
    } closer{_source};
    out.seek(0, std::ios_base::beg);
    std::array<char, writeBackChunk> chunk{};
    zip_uint64_t written = 0;
    while (written < stat.size) {
        const zip_int64_t got = zip_source_read(_source, chunk.data(), chunk.size());
        if (got < 0)
            throw IOError("the new archive cannot be read ({})",
                          zip_error_strerror(zip_source_error(_source)));
        if (got == 0)
            break;
        if (out.write(chunk.data(), static_cast<std::size_t>(got)) != got)
            throw std::ios_base::failure("failed writing the archive");
        written += static_cast<zip_uint64_t>(got);
    }
    if (written != stat.size)
        throw IOError("the new archive is incomplete");
    out.resize(static_cast<std::size_t>(stat.size));
}

void ZippedPackage::save() {
    if (_zip == nullptr)
        return;
    zip_t* zip = std::exchange(_zip, nullptr);
    struct SourceRelease {
        zip_source_t*& source;
        ~SourceRelease() { zip_source_free(std::exchange(source, nullptr)); }
    } release{_source};
    if (_replacedFile) {
        saveReplacingFile(zip);
        return;
    }
    if (zip_close(zip) != 0) {
        const std::string reason = zip_strerror(zip);
        zip_discard(zip);
        throw IOError("the archive cannot be assembled ({})", reason);
    }
    writeArchive(*_output);
}

void ZippedPackage::saveReplacingFile(zip_t* zip) {
    const std::string file = _replacedFile->u8string();
    // The file already holds exactly these bytes; libzip writes nothing then.
    if (!_modified) {
        if (zip_close(zip) != 0) {
            const std::string reason = zip_strerror(zip);
            zip_discard(zip);
            throw IOError("Package '{}' cannot be saved, {}", file, reason);
        }
        return;
    }
    try {
        std::optional<FileReplacement> replacement;
        try {
            replacement.emplace(*_replacedFile);
        } catch (...) {
            zip_discard(zip); // not closed yet: nothing else frees it
            throw;
        }
        _streamed->setDestination(&replacement->stream());
        const int closed = zip_close(zip);
        _streamed->setDestination(nullptr);
        if (closed != 0) {
            const std::string& failure = _streamed->destinationFailure();
            const std::string reason = failure.empty() ? std::string(zip_strerror(zip)) : failure;
            zip_discard(zip);
            throw IOError("Package '{}' cannot be saved, {}", file, reason);
        }
        if (_streamed->written())
            replacement->commit();
    } catch (const std::ios_base::failure& e) {
        throw IOError("Package '{}' cannot be saved, {}", file, e.what());
    }
}

std::shared_ptr<Package> makeZippedPackage(InOutStream& stream, ZipOpenMode mode, bool caseSensitive) {
    return std::make_shared<ZippedPackage>(stream, mode, caseSensitive, std::nullopt);
}

std::shared_ptr<Package> makeZippedPackage(InOutStream& stream, ZipOpenMode mode, bool caseSensitive,
                                           const FileSystem::Path& replacedFile) {
    return std::make_shared<ZippedPackage>(stream, mode, caseSensitive, replacedFile);
}

} // namespace KX
