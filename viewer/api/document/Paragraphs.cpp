#include "viewer/api/document/Paragraphs.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
Paragraphs::Paragraphs(const Paragraphs& other) = default;
Paragraphs::Paragraphs(Paragraphs&& other) noexcept = default;
Paragraphs& Paragraphs::operator=(const Paragraphs& other) = default;
Paragraphs& Paragraphs::operator=(Paragraphs&& other) noexcept = default;
Paragraphs::~Paragraphs() = default;

} // namespace KX::API::Document
