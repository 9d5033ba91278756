#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/document/PivotTableFunction.h"

#include <boost/optional.hpp>
#include <cstdint>
#include <string>

namespace KX::API::Document {

// A field of a pivot table's value area: which column is summarised, how, and how it is shown.
struct PivotTableValueField {
    enum class ShowAs : std::uint8_t {
        Normal,
        PercentOfTotal,
        PercentOfRow,
        PercentOfColumn,
        DifferenceFrom
    };

    // How the values are summarised and shown.
    struct Summary {
        PivotTableFunction function = PivotTableFunction::Sum;
        ShowAs showAs = ShowAs::Normal;
        // The field that "DifferenceFrom" compares with; -1 for none.
        std::int32_t baseField = -1;
    };

    // Empty texts, no number format, and a plain sum.
    KX_API_EXPORT PivotTableValueField();
    KX_API_EXPORT PivotTableValueField(const PivotTableValueField& other);
    // Leaves the source's texts empty; its optional texts stay set, holding empty texts.
    KX_API_EXPORT PivotTableValueField(PivotTableValueField&& other) noexcept;
    KX_API_EXPORT PivotTableValueField& operator=(const PivotTableValueField& other);
    KX_API_EXPORT PivotTableValueField& operator=(PivotTableValueField&& other) noexcept;
    KX_API_EXPORT ~PivotTableValueField();

    // The name of the source column.
    std::string sourceName;
    std::string caption;
    Summary summary;
    boost::optional<std::string> numberFormat;
};

} // namespace KX::API::Document
