#pragma once

#include "package/Package.h"

namespace KX {

// A file below a directory package; independent of the package object.
class FileSystemBlob final : public Blob {
public:
    explicit FileSystemBlob(FileSystem::Path fullPath) : _fullPath(std::move(fullPath)) {}

    std::unique_ptr<InputStream> openInputStream() override;
    std::unique_ptr<OutputStream> openOutputStream() override;

private:
    FileSystem::Path _fullPath;
};

} // namespace KX
