#include "package/ZippedBlob.h"

#include "core/Errors.h"
#include "core/FatalError.h"
#include "package/CompressedEntrySource.h"
#include "package/DeflatedEntryInputStream.h"
#include "package/ZipInputStream.h"
#include "package/ZipOutputStream.h"
#include "package/ZippedPackage.h"

namespace KX {

namespace {

// libzip trusts the directory's sizes: it serves an entry that declares bytes but stores none from an
// empty buffer, and crashes seeking in a stored entry whose two sizes disagree.
void refuseImpossibleSizes(const zip_stat_t& stat, const FileSystem::Path& path) {
    if ((stat.valid & ZIP_STAT_COMP_SIZE) == 0 || stat.encryption_method != ZIP_EM_NONE)
        return;
    const bool stored = (stat.valid & ZIP_STAT_COMP_METHOD) != 0 && stat.comp_method == ZIP_CM_STORE;
    if ((stored || stat.comp_size == 0) && stat.comp_size != stat.size)
        throw BrokenFileError("Zip entry {} is stored in {} bytes but declares {}", path, stat.comp_size,
                              stat.size);
}

} // namespace

std::unique_ptr<InputStream> ZippedBlob::openInputStream() {
    KX_ASSERT(_package);
    zip_t* zip = _package->archive();
    const zip_int64_t index = _package->locate(_path);
    if (index < 0)
        throw BrokenFileError("No file name {} in zip", _path);
    const auto uindex = static_cast<zip_uint64_t>(index);
    zip_stat_t stat;
    if (zip_stat_index(zip, uindex, 0, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0)
        throw BrokenFileError("Cannot obtain stats for index {}", index);
    constexpr zip_uint64_t inflatable =
        ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_CRC | ZIP_STAT_ENCRYPTION_METHOD;
    if ((stat.valid & inflatable) == inflatable && stat.comp_method == ZIP_CM_DEFLATE &&
        stat.encryption_method == ZIP_EM_NONE && stat.size != 0) {
        zip_file_t* raw = zip_fopen_index(zip, uindex, ZIP_FL_COMPRESSED);
        if (raw == nullptr)
            throw BrokenFileError("Cannot read zip entry for index {}", index);
        return std::make_unique<DeflatedEntryInputStream>(raw, static_cast<std::int64_t>(stat.size),
                                                          stat.comp_size, stat.crc);
    }
    refuseImpossibleSizes(stat, _path);
    zip_file_t* file = zip_fopen_index(zip, uindex, 0);
    if (file == nullptr)
        throw BrokenFileError("Cannot read zip entry for index {}", index);
    bool seekable = false;
    if (stat.size != 0 && stat.comp_method == ZIP_CM_STORE) {
        seekable = zip_fseek(file, 0, SEEK_CUR) == 0;
        if (!seekable)
            zip_file_error_clear(file);
    }
    return std::make_unique<ZipInputStream>(zip, file, static_cast<std::int64_t>(stat.size), seekable);
}

std::unique_ptr<OutputStream> ZippedBlob::openOutputStream() {
    KX_ASSERT(_package);
    zip_t* zip = _package->archive();
    const zip_int64_t index = _package->locate(_path);
    if (index < 0)
        throw BrokenFileError("Can't locate file {} in zip", _path);
    const auto uindex = static_cast<zip_uint64_t>(index);
    const bool store = _compression == Compression::Store;
    if (zip_set_file_compression(zip, uindex, store ? ZIP_CM_STORE : ZIP_CM_DEFLATE, store ? 0 : 1) != 0)
        throw BrokenFileError("Cannot set zip compression for index {}", index);
    CompressedEntrySource* content = nullptr;
    zip_source_t* source = CompressedEntrySource::create(zip, !store, content);
    if (source == nullptr)
        throw BrokenFileError("Cannot create source buffer for index {}", index);
    if (zip_file_replace(zip, uindex, source, 0) != 0) {
        zip_source_free(source);
        throw BrokenFileError("Cannot replace archive member with index {}", index);
    }
    _package->markModified();
    return std::make_unique<ZipOutputStream>(zip, *content);
}

} // namespace KX
