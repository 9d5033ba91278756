#pragma once

#include "viewer/api/ApiExport.h"

#include <cstdint>

namespace KX::API::Document {

// A rectangle of cells given by its first and last row and column, both included, counted from zero.
struct CellRangePosition {
    CellRangePosition() noexcept = default;
    constexpr CellRangePosition(std::int64_t first, std::int64_t firstCol, std::int64_t last,
                                std::int64_t lastCol) noexcept
        : firstRow(first), firstColumn(firstCol), lastRow(last), lastColumn(lastCol) {}
    CellRangePosition(const CellRangePosition&) noexcept = default;
    CellRangePosition(CellRangePosition&&) noexcept = default;

    KX_API_EXPORT CellRangePosition& operator=(const CellRangePosition& other) noexcept;
    KX_API_EXPORT CellRangePosition& operator=(CellRangePosition&& other) noexcept;

    std::int64_t firstRow;
    std::int64_t firstColumn;
    std::int64_t lastRow;
    std::int64_t lastColumn;
};

} // namespace KX::API::Document
