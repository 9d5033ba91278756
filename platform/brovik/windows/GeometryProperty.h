#pragma once

namespace KX::Brovik {

// The widget property that geometry animations drive.
inline constexpr const char* GeometryProperty = "geometry";

} // namespace KX::Brovik
