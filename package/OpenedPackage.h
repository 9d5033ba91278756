#pragma once

#include "core/FatalError.h"
#include "core/streams/FileStreams.h"
#include "core/streams/InOutStream.h"
#include "package/Package.h"
#include "package/ZipOpenMode.h"

#include <memory>
#include <string>

namespace KX {

// A package together with the file it was loaded from. The member order matters: the package is
// destroyed first, because an unsaved zip package still writes itself back through the stream.
struct OpenedPackage {
    std::unique_ptr<InOutStream> stream; // empty for a directory package
    std::shared_ptr<Package> package;

    Package& operator*() const { return checked(); }
    Package* operator->() const { return &checked(); }

private:
    Package& checked() const {
        Package* plainPtr = package.get();
        KX_ASSERT(plainPtr);
        return *plainPtr;
    }
};

// Opens path (UTF-8) as a directory package when it names a directory, otherwise as a zip package
// over the file opened with fileMode. Zip entry names are then looked up regardless of case, and
// saving replaces the file only once the new archive is complete.
OpenedPackage openPackage(const std::string& path, ZipOpenMode zipMode, FileOpenMode fileMode);

} // namespace KX
