#include "viewer/api/document/PivotTableCategoryField.h"

#include <utility>

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
// Move assignment is spelled out: a text moved onto itself would come out empty.
PivotTableCategoryField::PivotTableCategoryField() = default;
PivotTableCategoryField::PivotTableCategoryField(const PivotTableCategoryField& other) = default;
PivotTableCategoryField::PivotTableCategoryField(PivotTableCategoryField&& other) noexcept = default;
PivotTableCategoryField& PivotTableCategoryField::operator=(const PivotTableCategoryField& other) = default;
PivotTableCategoryField& PivotTableCategoryField::operator=(PivotTableCategoryField&& other) noexcept {
    if (this != &other) {
        properties = std::move(other.properties);
        subtotals = std::move(other.subtotals);
    }
    return *this;
}
PivotTableCategoryField::~PivotTableCategoryField() = default;

} // namespace KX::API::Document
