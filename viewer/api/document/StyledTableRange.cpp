#include "viewer/api/document/StyledTableRange.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
StyledTableRange::StyledTableRange(const StyledTableRange& other) = default;
StyledTableRange::StyledTableRange(StyledTableRange&& other) noexcept = default;
StyledTableRange& StyledTableRange::operator=(const StyledTableRange& other) = default;
StyledTableRange& StyledTableRange::operator=(StyledTableRange&& other) noexcept = default;
StyledTableRange::~StyledTableRange() = default;

} // namespace KX::API::Document
