#include "viewer/api/document/PivotTableLayoutSettings.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
PivotTableLayoutSettings&
PivotTableLayoutSettings::operator=(const PivotTableLayoutSettings& other) noexcept = default;
PivotTableLayoutSettings&
PivotTableLayoutSettings::operator=(PivotTableLayoutSettings&& other) noexcept = default;

} // namespace KX::API::Document
