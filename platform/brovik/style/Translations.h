#pragma once

#include <QString>

class QCoreApplication;

namespace KX::Brovik {

// Installs the application's translation catalogue (":/translations/editor_<language>", English
// when the user's language has none). Returns false when no catalogue could be loaded.
bool installTranslations(QCoreApplication& application);

} // namespace KX::Brovik
