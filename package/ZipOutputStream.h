#pragma once

#include "core/streams/OutputStream.h"

#include <zip.h>

namespace KX {

class CompressedEntrySource;

// Receives the new content of one zip entry. The archive owns the entry's source; destroying the
// stream completes the content. Must be destroyed before the package.
class ZipOutputStream final : public OutputStream {
public:
    ZipOutputStream(zip_t* archive, CompressedEntrySource& source) : _archive(archive), _source(&source) {}
    ZipOutputStream(const ZipOutputStream&) = delete;
    ZipOutputStream& operator=(const ZipOutputStream&) = delete;
    ~ZipOutputStream() override;

    std::int64_t write(const void* data, std::size_t count) override;
    bool isBufferBased() const override { return false; }
    std::pair<const char*, const char*> getBuffer() override;
    bool isSeekable() const override { return false; }
    std::int64_t seek(std::int64_t offset, std::ios_base::seekdir origin) override;
    bool isResizable() const override { return false; }
    void resize(std::size_t size) override;

private:
    zip_t* _archive;
    CompressedEntrySource* _source;
};

} // namespace KX
