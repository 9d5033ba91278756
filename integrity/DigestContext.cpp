#include "integrity/DigestContext.h"

#include <memory>

namespace KX::CryptographicEngine {

DigestContext& DigestContext::update(InputStream& stream) {
    const auto buffer = std::make_unique<char[]>(streamChunkSize);
    for (;;) {
        const std::size_t got = stream.read(buffer.get(), streamChunkSize);
        if (got == 0)
            break;
        update(buffer.get(), got);
    }
    return *this;
}

} // namespace KX::CryptographicEngine
