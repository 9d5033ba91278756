#include "viewer/api/document/CellRange.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
CellRange::CellRange(const CellRange& other) = default;
CellRange& CellRange::operator=(const CellRange& other) = default;
CellRange::~CellRange() = default;

} // namespace KX::API::Document
