#include "viewer/api/document/PivotTableFilter.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
PivotTableFilter::PivotTableFilter(const PivotTableFilter& other) = default;
PivotTableFilter::PivotTableFilter(PivotTableFilter&& other) noexcept = default;
PivotTableFilter& PivotTableFilter::operator=(const PivotTableFilter& other) = default;
PivotTableFilter& PivotTableFilter::operator=(PivotTableFilter&& other) noexcept = default;
PivotTableFilter::~PivotTableFilter() = default;

} // namespace KX::API::Document
