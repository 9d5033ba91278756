#include "viewer/api/document/PivotTableItem.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
PivotTableItem::PivotTableItem(const PivotTableItem& other) = default;
PivotTableItem::PivotTableItem(PivotTableItem&& other) noexcept = default;
PivotTableItem& PivotTableItem::operator=(const PivotTableItem& other) = default;
PivotTableItem& PivotTableItem::operator=(PivotTableItem&& other) noexcept = default;
PivotTableItem::~PivotTableItem() = default;

} // namespace KX::API::Document
