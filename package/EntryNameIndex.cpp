#include "package/EntryNameIndex.h"

#include <algorithm>

namespace KX {

std::string EntryNameIndex::key(std::string_view name) const {
    std::string folded(name);
    if (!_caseSensitive) {
        for (char& c : folded) {
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

void EntryNameIndex::build(zip_t* archive) {
    _indices.clear();
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    _indices.reserve(static_cast<std::size_t>(std::max<zip_int64_t>(count, 0)));
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(archive, static_cast<zip_uint64_t>(i), 0);
        if (name != nullptr)
            _indices[key(name)].push_back(static_cast<zip_uint64_t>(i));
    }
    zip_error_clear(archive);
}

zip_int64_t EntryNameIndex::find(std::string_view name) const {
    const auto found = _indices.find(key(name));
    if (found == _indices.end() || found->second.empty())
        return -1;
    return static_cast<zip_int64_t>(found->second.front());
}

void EntryNameIndex::insert(std::string_view name, zip_uint64_t index) {
    auto& indices = _indices[key(name)];
    const auto at = std::lower_bound(indices.begin(), indices.end(), index);
    if (at == indices.end() || *at != index)
        indices.insert(at, index);
}

void EntryNameIndex::erase(std::string_view name, zip_uint64_t index) {
    const auto found = _indices.find(key(name));
    if (found == _indices.end())
        return;
    auto& indices = found->second;
    indices.erase(std::remove(indices.begin(), indices.end(), index), indices.end());
    if (indices.empty())
        _indices.erase(found);
}

} // namespace KX
