#include "viewer/api/document/PivotTableItems.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
PivotTableItems::PivotTableItems(const PivotTableItems& other) = default;
PivotTableItems::PivotTableItems(PivotTableItems&& other) noexcept = default;
PivotTableItems& PivotTableItems::operator=(const PivotTableItems& other) = default;
PivotTableItems& PivotTableItems::operator=(PivotTableItems&& other) noexcept = default;
PivotTableItems::~PivotTableItems() = default;

} // namespace KX::API::Document
