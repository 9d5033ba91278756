#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/document/PivotTableFieldCategories.h"
#include "viewer/api/document/PivotTableFieldProperties.h"

#include <boost/optional.hpp>
#include <string>

namespace KX::API::Document {

// A row or column field of a pivot table with its category items.
struct PivotTableField {
    // The categories come from the framework's own default constructor.
    KX_API_EXPORT PivotTableField();
    KX_API_EXPORT PivotTableField(const PivotTableField& other);
    // Leaves the source's texts empty; its optional texts stay set, holding empty texts.
    KX_API_EXPORT PivotTableField(PivotTableField&& other) noexcept;
    KX_API_EXPORT PivotTableField& operator=(const PivotTableField& other);
    KX_API_EXPORT PivotTableField& operator=(PivotTableField&& other) noexcept;
    KX_API_EXPORT ~PivotTableField();

    PivotTableFieldProperties properties;
    PivotTableFieldCategories categories;
    // The caption of the field's subtotal rows, when it has its own.
    boost::optional<std::string> subtotalCaption;
};

} // namespace KX::API::Document
