#include "viewer/api/document/PivotTableField.h"

#include <utility>

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
// Move assignment is spelled out: a text moved onto itself would come out empty.
PivotTableField::PivotTableField() = default;
PivotTableField::PivotTableField(const PivotTableField& other) = default;
PivotTableField::PivotTableField(PivotTableField&& other) noexcept = default;
PivotTableField& PivotTableField::operator=(const PivotTableField& other) = default;
PivotTableField& PivotTableField::operator=(PivotTableField&& other) noexcept {
    if (this != &other) {
        properties = std::move(other.properties);
        categories = std::move(other.categories);
        subtotalCaption = std::move(other.subtotalCaption);
    }
    return *this;
}
PivotTableField::~PivotTableField() = default;

} // namespace KX::API::Document
