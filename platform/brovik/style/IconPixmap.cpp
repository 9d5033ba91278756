#include "platform/brovik/style/IconPixmap.h"

#include <QGuiApplication>
#include <QScreen>

namespace KX::Brovik {

QPixmap getPixmapForIcon(const QString& name) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return getPixmapForIcon(name, screen ? screen->devicePixelRatio() : qApp->devicePixelRatio());
}

QPixmap getPixmapForIcon(const QString& name, qreal devicePixelRatio) {
    if (devicePixelRatio > 1.0) {
        QPixmap large(name + QStringLiteral("@2x"));
        if (!large.isNull()) {
            large.setDevicePixelRatio(2.0);
            return large;
        }
    }
    return QPixmap(name);
}

} // namespace KX::Brovik
