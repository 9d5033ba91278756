#include "platform/brovik/document/ResourceLoader.h"

#include <QDir>
#include <QFile>

namespace KX::Brovik {

ResourceLoader::ResourceLoader(QString resourcesFolder) : _resourcesFolder(std::move(resourcesFolder)) {}

QByteArray ResourceLoader::load(const QString& path) const {
    QFile compiledIn(path);
    if (compiledIn.open(QIODevice::ReadOnly)) {
        return compiledIn.readAll();
    }
    if (path.startsWith(QLatin1Char(':')) || _resourcesFolder.isEmpty()) {
        return QByteArray();
    }
    QFile installed(QDir(_resourcesFolder).filePath(path));
    return installed.open(QIODevice::ReadOnly) ? installed.readAll() : QByteArray();
}

} // namespace KX::Brovik
