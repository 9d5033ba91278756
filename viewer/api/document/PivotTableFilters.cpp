#include "viewer/api/document/PivotTableFilters.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
PivotTableFilters::PivotTableFilters(const PivotTableFilters& other) = default;
PivotTableFilters::PivotTableFilters(PivotTableFilters&& other) noexcept = default;
PivotTableFilters& PivotTableFilters::operator=(const PivotTableFilters& other) = default;
PivotTableFilters& PivotTableFilters::operator=(PivotTableFilters&& other) noexcept = default;
PivotTableFilters::~PivotTableFilters() = default;

} // namespace KX::API::Document
