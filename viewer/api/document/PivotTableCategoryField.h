#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/document/PivotTableFieldProperties.h"
#include "viewer/api/document/PivotTableFunction.h"

#include <vector>

namespace KX::API::Document {

// A category field of a pivot table and the subtotals it shows.
struct PivotTableCategoryField {
    KX_API_EXPORT PivotTableCategoryField();
    KX_API_EXPORT PivotTableCategoryField(const PivotTableCategoryField& other);
    // Leaves the source's texts empty; its optional texts stay set, holding empty texts.
    KX_API_EXPORT PivotTableCategoryField(PivotTableCategoryField&& other) noexcept;
    KX_API_EXPORT PivotTableCategoryField& operator=(const PivotTableCategoryField& other);
    KX_API_EXPORT PivotTableCategoryField& operator=(PivotTableCategoryField&& other) noexcept;
    KX_API_EXPORT ~PivotTableCategoryField();

    PivotTableFieldProperties properties;
    // The subtotal functions, in display order; empty for no subtotals.
    std::vector<PivotTableFunction> subtotals;
};

} // namespace KX::API::Document
