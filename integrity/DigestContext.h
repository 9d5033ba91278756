#pragma once

#include "core/streams/InputStream.h"
#include "integrity/Digest.h"

#include <cstddef>

namespace KX::CryptographicEngine {

// An incremental digest computation: reset, feed, finish; reset again before reuse.
class DigestContext {
public:
    virtual ~DigestContext() = default;
    virtual DigestContext& reset() = 0;
    virtual DigestContext& update(const void* data, std::size_t count) = 0;
    virtual Digest finish() = 0;

    // Feeds everything from the stream's position to its end through a fixed buffer.
    DigestContext& update(InputStream& stream);

    static constexpr std::size_t streamChunkSize = 65536;
};

} // namespace KX::CryptographicEngine
