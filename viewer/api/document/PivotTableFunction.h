#pragma once

#include <cstdint>

namespace KX::API::Document {

// How a pivot table summarises the values of a field.
enum class PivotTableFunction : std::uint8_t {
    Sum,
    Count,
    Average,
    Max,
    Min,
    Product,
    CountNumbers,
    StdDev,
    StdDevP,
    Var,
    VarP,
};

} // namespace KX::API::Document
