#include "package/TraverseFiles.h"

#include "core/Errors.h"
#include "core/FileSystem.h"

#include <boost/filesystem/exception.hpp>
#include <boost/filesystem/operations.hpp>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace KX::FileSystem {

namespace {

namespace fs = boost::filesystem;

bool isNotFound(int error) {
    return error == ENOENT || error == ENOTDIR;
}

[[noreturn]] void throwWalkFailure(const std::string& path, int error) {
    throw fs::filesystem_error("traverseFiles failed", fs::path(path),
                               boost::system::error_code(error, boost::system::system_category()));
}

struct CloseDirectory {
    void operator()(DIR* directory) const { ::closedir(directory); }
};

// A directory being listed, and the path its entries are named under.
struct Listing {
    std::unique_ptr<DIR, CloseDirectory> directory;
    std::string path;
};

// Opens the directory name inside parent (or at that path when parent is AT_FDCWD). Null, with
// errno set, when it cannot be listed.
DIR* openListing(int parent, const char* name) {
    const int descriptor = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return nullptr;
    DIR* directory = ::fdopendir(descriptor);
    if (directory == nullptr) {
        const int error = errno;
        ::close(descriptor);
        errno = error;
    }
    return directory;
}

bool isDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

} // namespace

// The walk keeps its own stack of directory listings rather than using a recursive iterator, which
// ends the whole walk at the first error: an entry that another process removes while the walk runs
// must only drop that entry. Entries are looked at relative to their open directory, so a large tree
// costs the system one short lookup per entry rather than a walk down the whole path.
void traverseFiles(const Path& root, const CallableRef<bool(const WalkedEntry&)>& callback) {
    // Completed lexically, as the operating system completes a name; links inside stay links.
    fs::path completed = fs::absolute(root.boostPath()).lexically_normal();
    if (completed.filename_is_dot())
        completed = completed.parent_path();
    const Path resolved(completed);
    if (!exists(resolved))
        throw IOError("{} does not exist", resolved.generic_u8string());
    if (!fs::is_directory(completed))
        throw IOError("{} is not a directory", resolved.generic_u8string());

    const std::string& rootText = completed.native();
    // Every listed path is the root, a separator (unless the root ends in one) and the rest.
    const std::size_t prefixLength = rootText.size() + (rootText.ends_with('/') ? 0 : 1);
    std::vector<Listing> listings;
    DIR* top = openListing(AT_FDCWD, rootText.c_str());
    if (top == nullptr)
        throwWalkFailure(rootText, errno);
    listings.push_back(Listing{std::unique_ptr<DIR, CloseDirectory>(top), rootText});
    while (!listings.empty()) {
        Listing& listing = listings.back();
        errno = 0;
        const dirent* listed = ::readdir(listing.directory.get());
        if (listed == nullptr) {
            if (errno != 0)
                throwWalkFailure(listing.path, errno);
            listings.pop_back();
            continue;
        }
        if (isDotOrDotDot(listed->d_name))
            continue;
        const int parent = ::dirfd(listing.directory.get());
        std::string entry = listing.path;
        if (!entry.ends_with('/'))
            entry += '/';
        entry += listed->d_name;

        // Listed, but gone by now. One look at the entry itself; only a link needs a second one.
        struct stat own {};
        if (::fstatat(parent, listed->d_name, &own, AT_SYMLINK_NOFOLLOW) != 0) {
            if (isNotFound(errno))
                continue;
            throwWalkFailure(entry, errno);
        }
        const bool isSymlink = S_ISLNK(own.st_mode);
        struct stat followed = own;
        bool isDangling = false;
        if (isSymlink && ::fstatat(parent, listed->d_name, &followed, 0) != 0) {
            // A dangling link has nothing to walk.
            if (!isNotFound(errno))
                throwWalkFailure(entry, errno);
            isDangling = true;
        }
        const bool isDirectory = !isDangling && S_ISDIR(followed.st_mode);

        const Path entryPath(entry);
        const std::string_view relative = std::string_view(entryPath.native()).substr(prefixLength);
        if (!callback(WalkedEntry{
                entryPath, relative, isSymlink, isDangling, isDirectory,
                !isDangling && S_ISREG(followed.st_mode), !isDangling && (followed.st_mode & S_IXUSR) != 0,
                !isDangling && S_ISREG(followed.st_mode) ? static_cast<std::uint64_t>(followed.st_size) : 0}))
            continue;
        // Follows links: a link to a directory is walked like the directory.
        if (!isDirectory)
            continue;
        DIR* contents = openListing(parent, listed->d_name);
        if (contents == nullptr) {
            if (isNotFound(errno))
                continue;
            throwWalkFailure(entry, errno);
        }
        // The reference into listings is not used past this point: the vector may grow.
        listings.push_back(Listing{std::unique_ptr<DIR, CloseDirectory>(contents), std::move(entry)});
    }
}

void traverseFiles(const Path& root, const CallableRef<bool(const Path&)>& callback) {
    const auto byPath = [&](const WalkedEntry& entry) { return callback(entry.path); };
    traverseFiles(root, makeCallableRef<bool(const WalkedEntry&)>(byPath));
}

} // namespace KX::FileSystem
