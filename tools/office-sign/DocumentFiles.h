#pragma once

#include "core/streams/InOutStream.h"

#include <memory>
#include <string>

namespace KX::OfficeSign {

// The whole document file in memory (paths are UTF-8). Errors name the file as a "document".
std::unique_ptr<InOutStream> readDocument(const std::string& path);
std::string contentOf(InOutStream& stream);

// Replaces path with bytes: written to a temporary file beside it and renamed over it, so that a
// failure leaves path as it was. IOError names the file.
void writeDocumentAtomically(const std::string& path, const std::string& bytes);

} // namespace KX::OfficeSign
