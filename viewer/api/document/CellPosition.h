#pragma once

#include "viewer/api/ApiExport.h"

#include <cstdint>

namespace KX::API::Document {

// The position of one cell of a table or a sheet, counted from zero.
struct CellPosition {
    CellPosition() noexcept = default;
    constexpr CellPosition(std::int64_t rowIndex, std::int64_t columnIndex) noexcept
        : row(rowIndex), column(columnIndex) {}
    CellPosition(const CellPosition&) noexcept = default;
    CellPosition(CellPosition&&) noexcept = default;

    KX_API_EXPORT CellPosition& operator=(const CellPosition& other) noexcept;
    KX_API_EXPORT CellPosition& operator=(CellPosition&& other) noexcept;

    std::int64_t row;
    std::int64_t column;
};

} // namespace KX::API::Document
