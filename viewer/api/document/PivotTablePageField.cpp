#include "viewer/api/document/PivotTablePageField.h"

#include <utility>

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
// Move assignment is spelled out: a text moved onto itself would come out empty.
PivotTablePageField::PivotTablePageField() = default;
PivotTablePageField::PivotTablePageField(const PivotTablePageField& other) = default;
PivotTablePageField::PivotTablePageField(PivotTablePageField&& other) noexcept = default;
PivotTablePageField& PivotTablePageField::operator=(const PivotTablePageField& other) = default;
PivotTablePageField& PivotTablePageField::operator=(PivotTablePageField&& other) noexcept {
    if (this != &other) {
        name = std::move(other.name);
        caption = std::move(other.caption);
        selectedItem = std::move(other.selectedItem);
    }
    return *this;
}
PivotTablePageField::~PivotTablePageField() = default;

} // namespace KX::API::Document
