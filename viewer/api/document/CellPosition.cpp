#include "viewer/api/document/CellPosition.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
CellPosition& CellPosition::operator=(const CellPosition& other) noexcept = default;
CellPosition& CellPosition::operator=(CellPosition&& other) noexcept = default;

} // namespace KX::API::Document
