#pragma once

#include "viewer/api/ApiExport.h"

#include <boost/optional.hpp>
#include <string>

namespace KX::API::Document {

// The name of a pivot-table field and how its values are shown.
struct PivotTableFieldProperties {
    KX_API_EXPORT PivotTableFieldProperties();
    KX_API_EXPORT PivotTableFieldProperties(const PivotTableFieldProperties& other);
    // Leaves the source's texts empty; its optional texts stay set, holding empty texts.
    KX_API_EXPORT PivotTableFieldProperties(PivotTableFieldProperties&& other) noexcept;
    KX_API_EXPORT PivotTableFieldProperties& operator=(const PivotTableFieldProperties& other);
    KX_API_EXPORT PivotTableFieldProperties& operator=(PivotTableFieldProperties&& other) noexcept;
    KX_API_EXPORT ~PivotTableFieldProperties();

    // The name of the source column.
    std::string name;
    // Shown instead of the name when set.
    boost::optional<std::string> caption;
    boost::optional<std::string> numberFormat;
};

} // namespace KX::API::Document
