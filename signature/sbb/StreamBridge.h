#pragma once

// Where the system's streams meet the signing library's.

#include "core/streams/InOutStream.h"
#include "platform/sbb/CallbackStream.h"
#include "platform/sbb/MemoryStream.h"

#include <memory>

namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider {

// Library streams over the system's own streams, which must outlive them. Seeking is offered
// only when the system stream is seekable; a write-only or read-only stream refuses the other way.
std::unique_ptr<SBB::CallbackStream> makeCallbackStream(InputStream& stream);
std::unique_ptr<SBB::CallbackStream> makeCallbackStream(OutputStream& stream);
std::unique_ptr<SBB::CallbackStream> makeCallbackStream(InOutStream& stream);

// Copies the whole stream into memory, positioned at 0; the stream's own position does not
// matter. An empty stream throws SignatureRuntimeError "Can't processed empty input stream.".
void copyIntoMemory(InOutStream& stream, SBB::MemoryStream& memory);

} // namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider
