#include "viewer/api/document/PivotTableValueField.h"

#include <utility>

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
// Move assignment is spelled out: a text moved onto itself would come out empty.
PivotTableValueField::PivotTableValueField() = default;
PivotTableValueField::PivotTableValueField(const PivotTableValueField& other) = default;
PivotTableValueField::PivotTableValueField(PivotTableValueField&& other) noexcept = default;
PivotTableValueField& PivotTableValueField::operator=(const PivotTableValueField& other) = default;
PivotTableValueField& PivotTableValueField::operator=(PivotTableValueField&& other) noexcept {
    if (this != &other) {
        sourceName = std::move(other.sourceName);
        caption = std::move(other.caption);
        summary = std::move(other.summary);
        numberFormat = std::move(other.numberFormat);
    }
    return *this;
}
PivotTableValueField::~PivotTableValueField() = default;

} // namespace KX::API::Document
