#pragma once

#include "viewer/api/ApiExport.h"

#include <boost/optional.hpp>
#include <string>

namespace KX::API::Document {

// A field in a pivot table's filter (page) area and the item it currently selects.
struct PivotTablePageField {
    KX_API_EXPORT PivotTablePageField();
    KX_API_EXPORT PivotTablePageField(const PivotTablePageField& other);
    // Leaves the source's texts empty; its optional texts stay set, holding empty texts.
    KX_API_EXPORT PivotTablePageField(PivotTablePageField&& other) noexcept;
    KX_API_EXPORT PivotTablePageField& operator=(const PivotTablePageField& other);
    KX_API_EXPORT PivotTablePageField& operator=(PivotTablePageField&& other) noexcept;
    KX_API_EXPORT ~PivotTablePageField();

    // The name of the source column.
    std::string name;
    // Shown instead of the name when set.
    boost::optional<std::string> caption;
    // Empty when every item is shown.
    boost::optional<std::string> selectedItem;
};

} // namespace KX::API::Document
