#include "viewer/api/document/PivotTableFieldCategories.h"

namespace KX::API::Document {

// Fresh fields start without categories; the pivot-table editor fills them when the field is placed.
PivotTableFieldCategories::PivotTableFieldCategories() = default;

} // namespace KX::API::Document
