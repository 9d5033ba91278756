#pragma once

#include "core/streams/InOutStream.h"
#include "platform/sbb/CallbackStream.h"

#include <memory>

namespace SBB {

// Library streams over the system's own streams, which must outlive them. Seeking is offered
// only when the system stream is seekable; a write-only or read-only stream refuses the other way.
std::unique_ptr<CallbackStream> makeCallbackStream(KX::InputStream& stream);
std::unique_ptr<CallbackStream> makeCallbackStream(KX::OutputStream& stream);
std::unique_ptr<CallbackStream> makeCallbackStream(KX::InOutStream& stream);

} // namespace SBB
