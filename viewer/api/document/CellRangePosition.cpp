#include "viewer/api/document/CellRangePosition.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
CellRangePosition& CellRangePosition::operator=(const CellRangePosition& other) noexcept = default;
CellRangePosition& CellRangePosition::operator=(CellRangePosition&& other) noexcept = default;

} // namespace KX::API::Document
