#pragma once

#include "package/Package.h"

#include <memory>

namespace KX {

class ZippedPackage;

// One entry of a zip package; keeps the package alive. The entry is looked up anew each time a
// stream is opened.
class ZippedBlob final : public Blob {
public:
    ZippedBlob(std::shared_ptr<ZippedPackage> package, FileSystem::Path path, Compression compression)
        : _package(std::move(package)), _path(std::move(path)), _compression(compression) {}

    std::unique_ptr<InputStream> openInputStream() override;
    std::unique_ptr<OutputStream> openOutputStream() override;

private:
    std::shared_ptr<ZippedPackage> _package;
    FileSystem::Path _path;
    Compression _compression;
};

} // namespace KX
