#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

struct zip;

namespace SBB {

// A zip archive held in memory. Changes are kept aside until save(), which lets libzip copy every
// untouched entry as it is (compressed data, order, the stored "mimetype" first).
class ZipArchive {
public:
    ZipArchive() = default;
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;
    ~ZipArchive();

    // Throws SBException when the bytes are not a zip archive.
    void open(std::vector<unsigned char> bytes);
    void close();
    bool isOpen() const { return _archive != nullptr; }

    // Entry names in archive order as they will be saved (new entries last), directories included.
    std::vector<std::string> names() const;
    bool contains(const std::string& name) const;
    // The entry's bytes (a pending change included); nullopt when there is no such entry.
    std::optional<std::vector<unsigned char>> read(const std::string& name) const;

    void write(const std::string& name, std::vector<unsigned char> bytes);
    void remove(const std::string& name);
    bool modified() const { return !_changes.empty(); }

    // The archive with every change applied; it becomes the archive's new content.
    const std::vector<unsigned char>& save();
    const std::vector<unsigned char>& bytes() const { return _bytes; }

private:
    std::optional<std::vector<unsigned char>> readOriginal(const std::string& name) const;

    std::vector<unsigned char> _bytes;
    zip* _archive = nullptr;
    // nullopt marks a removal.
    std::map<std::string, std::optional<std::vector<unsigned char>>> _changes;
    std::vector<std::string> _added;
};

} // namespace SBB
