#include "viewer/api/document/PivotTableCaptions.h"

#include <utility>

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
// Move assignment is spelled out: a text moved onto itself would come out empty.
PivotTableCaptions::PivotTableCaptions(const PivotTableCaptions& other) = default;
PivotTableCaptions::PivotTableCaptions(PivotTableCaptions&& other) noexcept = default;
PivotTableCaptions& PivotTableCaptions::operator=(const PivotTableCaptions& other) = default;
PivotTableCaptions& PivotTableCaptions::operator=(PivotTableCaptions&& other) noexcept {
    if (this != &other) {
        rowHeader = std::move(other.rowHeader);
        columnHeader = std::move(other.columnHeader);
        grandTotal = std::move(other.grandTotal);
        values = std::move(other.values);
        errorValue = std::move(other.errorValue);
        emptyValue = std::move(other.emptyValue);
    }
    return *this;
}
PivotTableCaptions::~PivotTableCaptions() = default;

} // namespace KX::API::Document
