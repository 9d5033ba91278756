#include "viewer/api/document/Document.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
Document::Document(const Document& other) = default;
Document::Document(Document&& other) noexcept = default;
Document& Document::operator=(const Document& other) = default;
Document& Document::operator=(Document&& other) noexcept = default;
Document::~Document() = default;

} // namespace KX::API::Document
