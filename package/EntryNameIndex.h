#pragma once

#include <boost/container/small_vector.hpp>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <zip.h>

namespace KX {

// The entry names of an open archive, for lookups in constant time. libzip answers a lookup that
// ignores letter case by comparing every name in turn, which makes adding n entries cost n squared
// comparisons. Without case, names are folded as strcasecmp compares them (ASCII letters only),
// and a lookup gives the lowest index holding a matching name, as libzip's scan would.
class EntryNameIndex {
public:
    explicit EntryNameIndex(bool caseSensitive) : _caseSensitive(caseSensitive) {}

    // Indexes every entry of the archive that has a name; entries libzip cannot name are left out.
    void build(zip_t* archive);

    // The index of the entry named name, or -1.
    zip_int64_t find(std::string_view name) const;
    // After libzip gave the entry at index the name name (added, replaced or renamed to it).
    void insert(std::string_view name, zip_uint64_t index);
    // After the entry at index lost the name name (deleted, or renamed from it).
    void erase(std::string_view name, zip_uint64_t index);

private:
    std::string key(std::string_view name) const;

    bool _caseSensitive;
    // Several indices only where names differ in letter case alone; kept in ascending order.
    // Held inline: a name nearly always has one index, and an archive has tens of thousands of names.
    std::unordered_map<std::string, boost::container::small_vector<zip_uint64_t, 1>> _indices;
};

} // namespace KX
