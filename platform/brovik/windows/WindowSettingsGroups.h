#pragma once

namespace KX::Brovik {

// Settings groups under which window geometry is kept: one for document windows, one for the start
// (launcher) window, so that each kind reopens where the user left it.
inline constexpr const char* DefaultWindowSettingsGroup = "DocumentWindow";
inline constexpr const char* LauncherWindowSettingsGroupName = "LauncherWindow";

} // namespace KX::Brovik
