#pragma once

#include "core/streams/InputStream.h"

#include <istream>
#include <memory>

namespace KX {

// A standard input stream reading from stream, which must outlive it. Seeking works when the source
// is buffer-based or seekable; on a forward-only source a seek fails and sets the fail state.
std::unique_ptr<std::istream> makeStdIStream(InputStream& stream);

} // namespace KX
