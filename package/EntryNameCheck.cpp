#include "package/EntryNameCheck.h"

#include "core/Errors.h"
#include "core/PackagePath.h"
#include "package/FileSystemPackage.h"
#include "package/TraverseFiles.h"

#include <boost/filesystem/operations.hpp>
#include <unordered_map>

namespace KX {

namespace {

namespace fs = boost::filesystem;

struct NameUse {
    std::string spelling;
    Package::EntryType type;
    bool isEntry; // false while the name is known only as the folder of other entries
};

class NameRegister {
public:
    explicit NameRegister(const std::string& displayPrefix) : _prefix(displayPrefix) {}

    void addEntry(const std::string& name, Package::EntryType type) {
        // Every folder on the way is a name of its own: "docs/a" and "Docs/b" extract into two folders
        // on one system and into one on another.
        for (std::size_t slash = name.find('/'); slash != std::string::npos;
             slash = name.find('/', slash + 1))
            add(name.substr(0, slash), Package::EntryType::Directory, false);
        add(name, type, true);
    }

private:
    void add(const std::string& name, Package::EntryType type, bool isEntry) {
        const auto [use, inserted] =
            _uses.try_emplace(FileSystem::caseFolded(name), NameUse{name, type, isEntry});
        if (inserted)
            return;
        NameUse& known = use->second;
        if (known.spelling != name)
            throw MakePackageError(
                "The names '{}' and '{}' differ only in letter case; a package cannot hold both",
                _prefix + known.spelling, _prefix + name);
        if (known.type != type)
            throw MakePackageError("The name '{}' is used for both a file and a folder in the package",
                                   _prefix + name);
        if (known.isEntry && isEntry)
            throw MakePackageError("The name '{}' is used twice in the package", _prefix + name);
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
void checkReadableAsFile(const fs::path& full, bool isSymlink, const std::string& shown) {
    boost::system::error_code error;
    const fs::file_status status = fs::status(full, error);
    if (isSymlink && (status.type() == fs::file_not_found || error))
        throw MakePackageError("The file '{}' cannot be put in a package: it is a symbolic link to nothing",
                               FileSystem::printableName(shown));
    if (!error && status.type() != fs::regular_file)
        throw MakePackageError("The file '{}' cannot be put in a package: it is not a regular file",
                               FileSystem::printableName(shown));
}

// The names as the directory holds them: the package's own walk splits a file name at '\\', which
// is an ordinary character here, so "a\\b" would pass for the file b in the folder a.
void checkDirectory(const FileSystemPackage& directory, NameRegister& names,
                    const std::string& displayPrefix) {
    fs::path root = fs::absolute(directory.root().boostPath()).lexically_normal();
    if (root.filename_is_dot())
        root = root.parent_path();
    const auto visit = [&](const FileSystem::Path& entry) {
        const fs::path full = entry.boostPath();
        const std::string name = full.lexically_relative(root).generic_string();
        boost::system::error_code error;
        const bool isSymlink = fs::is_symlink(fs::symlink_status(full, error));
        const auto type =
            fs::is_directory(full, error) ? Package::EntryType::Directory : Package::EntryType::File;
        const std::string shown = displayPrefix + name + (type == Package::EntryType::Directory ? "/" : "");
        if (const auto reason = FileSystem::invalidPackageNameReason(name))
            refuse(shown, *reason);
        if (type == Package::EntryType::File)
            checkReadableAsFile(full, isSymlink, shown);
        names.addEntry(name, type);
        return true;
    };
    FileSystem::traverseFiles(directory.root(), makeCallableRef<bool(const FileSystem::Path&)>(visit));
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
