#include "viewer/api/document/PivotTable.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
PivotTable::PivotTable(const PivotTable& other) = default;
PivotTable::PivotTable(PivotTable&& other) noexcept = default;
PivotTable& PivotTable::operator=(const PivotTable& other) = default;
PivotTable& PivotTable::operator=(PivotTable&& other) noexcept = default;
PivotTable::~PivotTable() = default;

} // namespace KX::API::Document
