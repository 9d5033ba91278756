#pragma once

#include "viewer/api/ApiExport.h"

#include <boost/optional.hpp>
#include <string>

namespace KX::API::Document {

// The texts a pivot table shows in its headers and special cells.
struct PivotTableCaptions {
    PivotTableCaptions() = default;
    KX_API_EXPORT PivotTableCaptions(const PivotTableCaptions& other);
    // Leaves the source's texts empty; its optional texts stay set, holding empty texts.
    KX_API_EXPORT PivotTableCaptions(PivotTableCaptions&& other) noexcept;
    KX_API_EXPORT PivotTableCaptions& operator=(const PivotTableCaptions& other);
    KX_API_EXPORT PivotTableCaptions& operator=(PivotTableCaptions&& other) noexcept;
    KX_API_EXPORT ~PivotTableCaptions();

    // Header of the row labels in compact form; the framework's text when empty.
    boost::optional<std::string> rowHeader;
    // Header of the column labels in compact form; the framework's text when empty.
    boost::optional<std::string> columnHeader;
    std::string grandTotal;
    // Header of the values when several value fields are shown.
    std::string values;
    // Shown in cells whose value is an error.
    std::string errorValue;
    // Shown in cells without a value.
    std::string emptyValue;
};

} // namespace KX::API::Document
