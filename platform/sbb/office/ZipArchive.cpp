#include "platform/sbb/office/ZipArchive.h"

#include "platform/sbb/SBException.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <zip.h>

namespace SBB {

namespace {

// The message is made from a copy of the codes: libzip keeps the text it makes in the error, and
// most errors here are local ones nobody would free.
[[noreturn]] void throwZipError(const std::string& what, zip_error_t* error) {
    zip_error_t copy;
    zip_error_init(&copy);
    zip_error_set(&copy, zip_error_code_zip(error), zip_error_code_system(error));
    const std::string text = what + ": " + zip_error_strerror(&copy);
    zip_error_fini(&copy);
    throw SBException(SBException::Kind::Library, "EElOfficeError", text, 0x8001,
                      static_cast<std::uint32_t>(zip_error_code_zip(error)));
}

struct SourceGuard {
    zip_source_t* source;
    ~SourceGuard() {
        if (source)
            zip_source_free(source);
    }
};

// A writable archive (keptSource given) works on a copy that libzip owns and frees itself.
zip_t* openOverBuffer(const std::vector<unsigned char>& bytes, int flags, zip_source_t** keptSource) {
    zip_error_t error;
    zip_error_init(&error);
    const void* data = bytes.data();
    if (keptSource) {
        void* copy = std::malloc(bytes.empty() ? 1 : bytes.size());
        if (!copy)
            throw std::bad_alloc();
        std::memcpy(copy, bytes.data(), bytes.size());
        data = copy;
    }
    zip_source_t* source = zip_source_buffer_create(data, bytes.size(), keptSource ? 1 : 0, &error);
    if (!source)
        throwZipError("cannot read the document", &error);
    zip_t* archive = zip_open_from_source(source, flags, &error);
    if (!archive) {
        zip_source_free(source);
        throwZipError("the document is not a zip archive", &error);
    }
    if (keptSource) {
        zip_source_keep(source);
        *keptSource = source;
    }
    return archive;
}

std::vector<unsigned char> readSource(zip_source_t* source) {
    if (zip_source_open(source) < 0)
        throwZipError("cannot read the saved archive", zip_source_error(source));
    std::vector<unsigned char> bytes;
    unsigned char chunk[65536];
    for (;;) {
        const zip_int64_t count = zip_source_read(source, chunk, sizeof chunk);
        if (count < 0) {
            zip_source_close(source);
            throwZipError("cannot read the saved archive", zip_source_error(source));
        }
        if (count == 0)
            break;
        bytes.insert(bytes.end(), chunk, chunk + count);
    }
    zip_source_close(source);
    return bytes;
}

[[noreturn]] void discardAndThrow(zip_t* archive, const std::string& what) {
    zip_error_t error;
    zip_error_init(&error);
    zip_error_set(&error, zip_error_code_zip(zip_get_error(archive)),
                  zip_error_code_system(zip_get_error(archive)));
    zip_discard(archive);
    throwZipError(what, &error);
}

constexpr zip_uint64_t MaxEntrySize = 512ull << 20;

} // namespace

ZipArchive::~ZipArchive() {
    close();
}

void ZipArchive::open(std::vector<unsigned char> bytes) {
    close();
    _bytes = std::move(bytes);
    _archive = openOverBuffer(_bytes, ZIP_RDONLY | ZIP_CHECKCONS, nullptr);
}

void ZipArchive::close() {
    if (_archive)
        zip_discard(_archive);
    _archive = nullptr;
    _changes.clear();
    _added.clear();
}

std::vector<std::string> ZipArchive::names() const {
    std::vector<std::string> names;
    if (!_archive)
        return names;
    const zip_int64_t count = zip_get_num_entries(_archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(_archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
        if (!name)
            continue;
        const auto change = _changes.find(name);
        if (change == _changes.end() || change->second)
            names.emplace_back(name);
    }
    for (const auto& name : _added)
        names.push_back(name);
    return names;
}

bool ZipArchive::contains(const std::string& name) const {
    const auto change = _changes.find(name);
    if (change != _changes.end())
        return change->second.has_value();
    return _archive && zip_name_locate(_archive, name.c_str(), ZIP_FL_ENC_RAW) >= 0;
}

std::optional<std::vector<unsigned char>> ZipArchive::read(const std::string& name) const {
    const auto change = _changes.find(name);
    if (change != _changes.end())
        return change->second;
    return readOriginal(name);
}

std::optional<std::vector<unsigned char>> ZipArchive::readOriginal(const std::string& name) const {
    if (!_archive)
        return std::nullopt;
    const zip_int64_t index = zip_name_locate(_archive, name.c_str(), ZIP_FL_ENC_RAW);
    if (index < 0)
        return std::nullopt;
    zip_stat_t stat;
    if (zip_stat_index(_archive, static_cast<zip_uint64_t>(index), 0, &stat) != 0)
        throwZipError("cannot read entry " + name, zip_get_error(_archive));
    // Entries are digested in memory; a deflate bomb must not take the machine with it.
    if ((stat.valid & ZIP_STAT_SIZE) && stat.size > MaxEntrySize)
        throw SBException(SBException::Kind::Library, "EElOfficeError", "entry " + name + " is too large",
                          0x8005);
    zip_file_t* file = zip_fopen_index(_archive, static_cast<zip_uint64_t>(index), 0);
    if (!file)
        throwZipError("cannot read entry " + name, zip_get_error(_archive));
    std::vector<unsigned char> bytes;
    unsigned char chunk[65536];
    for (;;) {
        const zip_int64_t count = zip_fread(file, chunk, sizeof chunk);
        if (count < 0) {
            zip_error_t error;
            zip_error_init(&error);
            zip_error_set(&error, zip_error_code_zip(zip_file_get_error(file)), 0);
            zip_fclose(file);
            throwZipError("cannot read entry " + name, &error);
        }
        if (count == 0)
            break;
        bytes.insert(bytes.end(), chunk, chunk + count);
        if (bytes.size() > MaxEntrySize) {
            zip_fclose(file);
            throw SBException(SBException::Kind::Library, "EElOfficeError", "entry " + name + " is too large",
                              0x8005);
        }
    }
    zip_fclose(file);
    return bytes;
}

void ZipArchive::write(const std::string& name, std::vector<unsigned char> bytes) {
    const bool existed =
        readOriginal(name).has_value() || std::find(_added.begin(), _added.end(), name) != _added.end();
    if (!existed)
        _added.push_back(name);
    _changes[name] = std::move(bytes);
}

void ZipArchive::remove(const std::string& name) {
    _added.erase(std::remove(_added.begin(), _added.end(), name), _added.end());
    if (_archive && zip_name_locate(_archive, name.c_str(), ZIP_FL_ENC_RAW) >= 0)
        _changes[name] = std::nullopt;
    else
        _changes.erase(name);
}

const std::vector<unsigned char>& ZipArchive::save() {
    if (_changes.empty())
        return _bytes;
    zip_source_t* kept = nullptr;
    zip_t* archive = openOverBuffer(_bytes, 0, &kept);
    SourceGuard guard{kept};
    for (const auto& [name, content] : _changes) {
        const zip_int64_t index = zip_name_locate(archive, name.c_str(), ZIP_FL_ENC_RAW);
        if (!content) {
            if (index >= 0)
                zip_delete(archive, static_cast<zip_uint64_t>(index));
            continue;
        }
        zip_source_t* data = zip_source_buffer(archive, content->data(), content->size(), 0);
        if (!data)
            discardAndThrow(archive, "cannot write entry " + name);
        const zip_int64_t added =
            zip_file_add(archive, name.c_str(), data, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
        if (added < 0) {
            zip_source_free(data);
            discardAndThrow(archive, "cannot write entry " + name);
        }
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(added), ZIP_CM_DEFLATE, 6);
    }
    if (zip_close(archive) != 0)
        discardAndThrow(archive, "cannot save the document");
    auto saved = readSource(kept);
    open(std::move(saved));
    return _bytes;
}

} // namespace SBB
