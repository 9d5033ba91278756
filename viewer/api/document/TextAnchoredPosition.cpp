#include "viewer/api/document/TextAnchoredPosition.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
TextAnchoredPosition::TextAnchoredPosition() = default;
TextAnchoredPosition::TextAnchoredPosition(const TextAnchoredPosition& other) = default;
TextAnchoredPosition& TextAnchoredPosition::operator=(const TextAnchoredPosition& other) = default;
TextAnchoredPosition::~TextAnchoredPosition() = default;

} // namespace KX::API::Document
