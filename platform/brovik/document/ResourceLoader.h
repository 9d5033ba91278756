#pragma once

#include <QByteArray>
#include <QString>

namespace KX::Brovik {

// Reads the application's resources (compiled-in `:/` paths first, then files of the installation's
// resources folder) for one document window.
class ResourceLoader {
public:
    explicit ResourceLoader(QString resourcesFolder);

    // The bytes of `path`, or an empty array when it exists in neither place.
    QByteArray load(const QString& path) const;

private:
    QString _resourcesFolder;
};

} // namespace KX::Brovik
