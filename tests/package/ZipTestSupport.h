#pragma once

#include "core/streams/ContainerBasedInOutStream.h"
#include "package/ZippedPackage.h"

#include <string>
#include <utility>
#include <vector>
#include <zip.h>

namespace KX::Testing {

using MemoryStream = ContainerBasedInOutStream<std::string>;

// An archive built by the package itself; names ending in "/" become directory entries.
inline std::string makeArchive(const std::vector<std::pair<std::string, std::string>>& entries,
                               Compression compression = Compression::Default) {
    MemoryStream stream;
    {
        const auto package = makeZippedPackage(stream, ZipOpenMode::CreateNew, true);
        for (const auto& [name, content] : entries) {
            const auto blob = package->addEntry(FileSystem::Path(name), compression);
            if (name.ends_with('/'))
                continue;
            const auto out = blob->openOutputStream();
            out->write(content.data(), content.size());
        }
        package->save();
    }
    return stream.container();
}

inline std::string readAll(InputStream& in) {
    MemoryStream out;
    in.copyTo(out);
    return out.container();
}

inline std::string readEntry(const Package& package, const std::string& name) {
    const auto in = package.getEntry(FileSystem::Path(name))->openInputStream();
    return readAll(*in);
}

// What libzip itself reads from archive bytes: name, compression method, uncompressed size.
struct ArchivedEntry {
    std::string name;
    int method;
    std::uint64_t size;
    bool operator==(const ArchivedEntry&) const = default;
};

inline std::vector<ArchivedEntry> listArchive(const std::string& bytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    zip_t* zip = zip_open_from_source(source, ZIP_CHECKCONS | ZIP_RDONLY, &error);
    std::vector<ArchivedEntry> entries;
    if (zip == nullptr) {
        zip_source_free(source);
        return entries;
    }
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(zip, static_cast<zip_uint64_t>(i), 0, &st);
        entries.push_back({st.name, st.comp_method, st.size});
    }
    zip_discard(zip);
    return entries;
}

} // namespace KX::Testing
