#include "package/TraverseFiles.h"

#include "core/Errors.h"
#include "core/FileSystem.h"

#include <boost/filesystem/directory.hpp>
#include <boost/filesystem/exception.hpp>
#include <boost/filesystem/operations.hpp>

namespace KX::FileSystem {

void traverseFiles(const Path& root, const CallableRef<bool(const Path&)>& callback) {
    namespace fs = boost::filesystem;
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
    fs::recursive_directory_iterator it(completed,
                                        fs::directory_options::follow_directory_symlink |
                                            fs::directory_options::skip_dangling_symlinks,
                                        error);
    const fs::recursive_directory_iterator end;
    while (it != end) {
        if (error) {
            // An entry removed by someone else between listing and looking is simply gone.
            if (fs::status(it->path()).type() == fs::file_not_found) {
                error.clear();
                it.disable_recursion_pending();
                it.increment(error);
                continue;
            }
            throw fs::filesystem_error("traverseFiles failed", error);
        }
        if (!callback(Path(it->path()))) {
            boost::system::error_code statusError;
            const fs::file_status status = fs::status(it->path(), statusError);
            if (statusError || fs::is_directory(status))
                it.disable_recursion_pending();
        }
        it.increment(error);
    }
    if (error)
        throw fs::filesystem_error("traverseFiles failed", error);
}

} // namespace KX::FileSystem
