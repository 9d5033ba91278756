#include "viewer/api/document/PivotTableFieldProperties.h"

#include <utility>

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
// Move assignment is spelled out: a text moved onto itself would come out empty.
PivotTableFieldProperties::PivotTableFieldProperties() = default;
PivotTableFieldProperties::PivotTableFieldProperties(const PivotTableFieldProperties& other) = default;
PivotTableFieldProperties::PivotTableFieldProperties(PivotTableFieldProperties&& other) noexcept = default;
PivotTableFieldProperties&
PivotTableFieldProperties::operator=(const PivotTableFieldProperties& other) = default;
PivotTableFieldProperties& PivotTableFieldProperties::operator=(PivotTableFieldProperties&& other) noexcept {
    if (this != &other) {
        name = std::move(other.name);
        caption = std::move(other.caption);
        numberFormat = std::move(other.numberFormat);
    }
    return *this;
}
PivotTableFieldProperties::~PivotTableFieldProperties() = default;

} // namespace KX::API::Document
