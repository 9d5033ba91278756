#include "viewer/api/document/PivotTableFieldCategories.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
PivotTableFieldCategories::PivotTableFieldCategories(const PivotTableFieldCategories& other) = default;
PivotTableFieldCategories::PivotTableFieldCategories(PivotTableFieldCategories&& other) noexcept = default;
PivotTableFieldCategories&
PivotTableFieldCategories::operator=(const PivotTableFieldCategories& other) = default;
PivotTableFieldCategories&
PivotTableFieldCategories::operator=(PivotTableFieldCategories&& other) noexcept = default;
PivotTableFieldCategories::~PivotTableFieldCategories() = default;

} // namespace KX::API::Document
