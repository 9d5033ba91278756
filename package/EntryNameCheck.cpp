#include "package/EntryNameCheck.h"

#include "core/Errors.h"
#include "core/PackagePath.h"
#include "package/FileSystemPackage.h"
#include "package/TraverseFiles.h"

#include <unordered_map>

namespace KX {

namespace {

struct NameUse {
    std::string spelling;
    Package::EntryType type;
    bool isEntry; // false while the name is known only as the folder of other entries
};

class NameRegister {
public:
    explicit NameRegister(const std::string& displayPrefix) : _prefix(displayPrefix) {}

    void addEntry(std::string_view name, Package::EntryType type) {
        // Every folder on the way is a name of its own: "docs/a" and "Docs/b" extract into two folders
        // on one system and into one on another.
        for (std::size_t slash = name.find('/'); slash != std::string_view::npos;
             slash = name.find('/', slash + 1))
            add(name.substr(0, slash), Package::EntryType::Directory, false);
        add(name, type, true);
    }

private:
    void add(std::string_view name, Package::EntryType type, bool isEntry) {
        const auto [use, inserted] = _uses.try_emplace(FileSystem::caseFolded(name));
        if (inserted) {
            use->second = NameUse{std::string(name), type, isEntry};
            return;
        }
        NameUse& known = use->second;
        if (known.spelling != name)
            throw MakePackageError(
                "The names '{}' and '{}' differ only in letter case; a package cannot hold both",
                _prefix + known.spelling, _prefix + std::string(name));
        if (known.type != type)
            throw MakePackageError("The name '{}' is used for both a file and a folder in the package",
                                   _prefix + std::string(name));
        if (known.isEntry && isEntry)
            throw MakePackageError("The name '{}' is used twice in the package", _prefix + std::string(name));
        known.isEntry = known.isEntry || isEntry;
    }

    const std::string& _prefix;
    std::unordered_map<std::string, NameUse> _uses;
};

[[noreturn]] void refuse(const std::string& shown, const std::string& reason) {
    throw MakePackageError("The name '{}' cannot be used in a package: {}", FileSystem::printableName(shown),
                           reason);
}

// A file of a plug-in directory is packed by reading it; anything that cannot be read like a file
// would fail the copy half-way or, for a pipe, never end it.
[[noreturn]] void refuseUnreadableFile(const FileSystem::WalkedEntry& entry, const std::string& shown) {
    if (entry.isDanglingLink)
        throw MakePackageError("The file '{}' cannot be put in a package: it is a symbolic link to nothing",
                               FileSystem::printableName(shown));
    throw MakePackageError("The file '{}' cannot be put in a package: it is not a regular file",
                           FileSystem::printableName(shown));
}

// The names as the directory holds them: the package's own walk splits a file name at '\\', which
// is an ordinary character here, so "a\\b" would pass for the file b in the folder a.
void checkDirectory(const FileSystemPackage& directory, NameRegister& names,
                    const std::string& displayPrefix) {
    const auto visit = [&](const FileSystem::WalkedEntry& entry) {
        const std::string name(entry.relative);
        const auto type = entry.isDirectory ? Package::EntryType::Directory : Package::EntryType::File;
        // Only a refusal shows the name; most entries never need it.
        const auto shown = [&] {
            return displayPrefix + name + (type == Package::EntryType::Directory ? "/" : "");
        };
        if (const auto reason = FileSystem::invalidPackageNameReason(name))
            refuse(shown(), *reason);
        if (type == Package::EntryType::File && !entry.isRegularFile)
            refuseUnreadableFile(entry, shown());
        names.addEntry(name, type);
        return true;
    };
    FileSystem::traverseFiles(directory.root(), makeCallableRef<bool(const FileSystem::WalkedEntry&)>(visit));
}

// An archive reports its names exactly as they are stored, which must be package paths already.
void checkArchive(const Package& package, NameRegister& names) {
    const auto visit = [&](const FileSystem::Path& path, Package::EntryType type, bool) {
        const std::string& name = path.native();
        const bool isDirectory = type == Package::EntryType::Directory;
        const std::string shown = name + (isDirectory ? "/" : "");
        if (name.empty() && isDirectory)
            refuse(shown, "the name is only a separator");
        if (const auto reason = FileSystem::invalidPackageNameReason(name))
            refuse(shown, *reason);
        names.addEntry(name, type);
    };
    package.traverseEntries(makeCallableRef<void(const FileSystem::Path&, Package::EntryType, bool)>(visit));
}

} // namespace

void checkEntryNames(const Package& package, const std::string& displayPrefix) {
    NameRegister names(displayPrefix);
    if (const auto* directory = dynamic_cast<const FileSystemPackage*>(&package))
        checkDirectory(*directory, names, displayPrefix);
    else
        checkArchive(package, names);
}

} // namespace KX
