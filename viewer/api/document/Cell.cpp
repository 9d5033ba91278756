#include "viewer/api/document/Cell.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
Cell::Cell(const Cell& other) = default;
Cell::Cell(Cell&& other) noexcept = default;
Cell& Cell::operator=(const Cell& other) = default;
Cell& Cell::operator=(Cell&& other) noexcept = default;
Cell::~Cell() = default;

} // namespace KX::API::Document
