#pragma once

#include <QString>

namespace KX::Testing {

// Creates the process's QApplication on first use, with the user's settings and data in a
// temporary folder; returns that folder.
QString ensureApplication();

} // namespace KX::Testing
