#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/document/CellRangePosition.h"

namespace KX::API::Document {

// The frozen panes of a sheet: the cells kept in view, and the cells shown first in the part that
// scrolls.
struct FrozenRangePosition {
    FrozenRangePosition() noexcept = default;
    FrozenRangePosition(const FrozenRangePosition&) noexcept = default;
    FrozenRangePosition(FrozenRangePosition&&) noexcept = default;

    KX_API_EXPORT FrozenRangePosition& operator=(const FrozenRangePosition& other) noexcept;
    KX_API_EXPORT FrozenRangePosition& operator=(FrozenRangePosition&& other) noexcept;

    CellRangePosition frozenCells;
    CellRangePosition firstScrolledCells;
};

} // namespace KX::API::Document
