#pragma once

#include <QSettings>
#include <QString>
#include <memory>

namespace KX::Brovik {

// Application-wide settings that persist across runs (QSettings of the user scope).
class ApplicationSettings {
public:
    // The installation's resources folder: "Resources" beside the executable. Usable before the
    // application object exists.
    static QString getResourcesFilePath();

    // Whether the first-run tips are still to be shown; true until switched off.
    static bool isTipsScreenEnabled();
    static void setTipsScreenEnabled(bool enabled);

    // The settings store shared by the framework (window geometry and the values above).
    static std::unique_ptr<QSettings> open();
};

} // namespace KX::Brovik
