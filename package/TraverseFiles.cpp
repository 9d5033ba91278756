#include "package/TraverseFiles.h"

#include "core/Errors.h"
#include "core/FileSystem.h"

#include <boost/filesystem/directory.hpp>
#include <boost/filesystem/exception.hpp>
#include <boost/filesystem/operations.hpp>
#include <vector>

namespace KX::FileSystem {

namespace {

namespace fs = boost::filesystem;

bool isNotFound(const boost::system::error_code& error) {
    return error == boost::system::errc::no_such_file_or_directory;
}

[[noreturn]] void throwWalkFailure(const fs::path& path, const boost::system::error_code& error) {
    throw fs::filesystem_error("traverseFiles failed", path, error);
}

} // namespace

// The walk keeps its own stack of directory listings rather than using Boost's recursive iterator,
// which ends the whole walk at the first error: an entry that another process removes while the
// walk runs must only drop that entry.
void traverseFiles(const Path& root, const CallableRef<bool(const Path&)>& callback) {
    // Completed lexically, as the operating system completes a name; links inside stay links.
    fs::path completed = fs::absolute(root.boostPath()).lexically_normal();
    if (completed.filename_is_dot())
        completed = completed.parent_path();
    const Path resolved(completed);
    if (!exists(resolved))
        throw IOError("{} does not exist", resolved.generic_u8string());
    if (!fs::is_directory(completed))
        throw IOError("{} is not a directory", resolved.generic_u8string());

    boost::system::error_code error;
    std::vector<fs::directory_iterator> listings;
    listings.emplace_back(completed, error);
    if (error)
        throwWalkFailure(completed, error);
    const fs::directory_iterator end;
    while (!listings.empty()) {
        fs::directory_iterator& listing = listings.back();
        if (listing == end) {
            listings.pop_back();
            continue;
        }
        const fs::path entry = listing->path();
        listing.increment(error);
        if (error)
            throwWalkFailure(entry, error);

        // Listed, but gone by now.
        fs::symlink_status(entry, error);
        if (isNotFound(error)) {
            error.clear();
            continue;
        }
        if (error)
            throwWalkFailure(entry, error);

        if (!callback(Path(entry)))
            continue;
        // Follows links: a link to a directory is walked like the directory. A dangling link is not
        // found here and has nothing to walk.
        const fs::file_status status = fs::status(entry, error);
        if (error) {
            if (isNotFound(error)) {
                error.clear();
                continue;
            }
            throwWalkFailure(entry, error);
        }
        if (!fs::is_directory(status))
            continue;
        fs::directory_iterator contents(entry, error);
        if (error) {
            if (isNotFound(error)) {
                error.clear();
                continue;
            }
            throwWalkFailure(entry, error);
        }
        listings.push_back(std::move(contents));
    }
}

} // namespace KX::FileSystem
