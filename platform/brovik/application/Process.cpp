#include "platform/brovik/application/Process.h"

#include <QCoreApplication>
#include <QDir>

// Resources of a static library must be registered by name, outside any namespace.
static void registerBrovikResources() {
    Q_INIT_RESOURCE(brovik);
}

namespace KX::Brovik {

void initScaleFactor() {
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
}

void initSharedResources() {
    registerBrovikResources();
    QDir::setSearchPaths(QStringLiteral("icons"), {QStringLiteral(":/icons")});
}

} // namespace KX::Brovik
