#pragma once

#include "core/Path.h"
#include "core/streams/InOutStream.h"

#include <memory>

namespace KX {

// Writes a file's new content beside it and puts it in place only when it is complete: until
// commit() succeeds, the file at the target keeps its old content (or stays absent). Failures throw
// std::ios_base::failure with the system's reason.
class FileReplacement {
public:
    // Creates the temporary file in the target's folder (the folder of the file a symbolic link
    // points to, so the link stays a link), named ".<target name>.partial-<process id>-<random>".
    // Temporary files of that name whose process no longer runs are removed first.
    explicit FileReplacement(const FileSystem::Path& target);
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;
    // Removes the temporary file unless it was committed.
    ~FileReplacement();

    InOutStream& stream() { return *_stream; }
    const FileSystem::Path& temporaryPath() const { return _temporary; }

    // Flushes the new content to the disk, gives it the permissions of the file it replaces (or the
    // usual ones for a new file) and renames it over the target.
    void commit();

private:
    FileSystem::Path _target;
    FileSystem::Path _temporary;
    int _handle = -1;
    std::unique_ptr<InOutStream> _stream;
    bool _committed = false;
};

} // namespace KX
