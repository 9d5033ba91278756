#pragma once

// Reads and rewrites zip packages in the tests with libzip directly, apart from the code under test.

#include <map>
#include <stdexcept>
#include <string>
#include <vector>
#include <zip.h>

namespace XadesTest {

// Entry name to bytes, and the names in archive order.
struct ZipEntries {
    std::vector<std::string> order;
    std::map<std::string, std::string> data;
};

inline ZipEntries readZip(const std::string& bytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    if (!archive)
        throw std::runtime_error("not a zip archive");
    ZipEntries entries;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        const std::string name = zip_get_name(archive, static_cast<zip_uint64_t>(i), 0);
        zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        std::string content;
        char chunk[65536];
        zip_int64_t count;
        while ((count = zip_fread(file, chunk, sizeof chunk)) > 0)
            content.append(chunk, static_cast<std::size_t>(count));
        zip_fclose(file);
        entries.order.push_back(name);
        entries.data[name] = std::move(content);
    }
    zip_discard(archive);
    return entries;
}

// A new archive with the entries in the given order (all deflated but "mimetype").
inline std::string writeZip(const ZipEntries& entries) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(target);
    zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
    if (!archive)
        throw std::runtime_error("cannot create an archive");
    for (const auto& name : entries.order) {
        const auto& content = entries.data.at(name);
        zip_source_t* data = zip_source_buffer(archive, content.data(), content.size(), 0);
        const zip_int64_t index = zip_file_add(archive, name.c_str(), data, ZIP_FL_ENC_UTF_8);
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                                 name == "mimetype" ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
    }
    if (zip_close(archive) != 0)
        throw std::runtime_error("cannot write the archive");
    zip_source_open(target);
    std::string bytes;
    char chunk[65536];
    zip_int64_t count;
    while ((count = zip_source_read(target, chunk, sizeof chunk)) > 0)
        bytes.append(chunk, static_cast<std::size_t>(count));
    zip_source_close(target);
    zip_source_free(target);
    return bytes;
}

} // namespace XadesTest
