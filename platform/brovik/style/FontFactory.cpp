#include "platform/brovik/style/FontFactory.h"

#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>

namespace KX::Brovik {

namespace {

// Light and semi-bold cuts are separate families on most systems; fall back to the regular family.
QString firstAvailable(const QStringList& candidates, const QString& fallback) {
    const QStringList families = QFontDatabase().families();
    for (const QString& candidate : candidates) {
        if (families.contains(candidate, Qt::CaseInsensitive)) {
            return candidate;
        }
    }
    return fallback;
}

} // namespace

FontFactory::FontFactory(const QString& resourcesPath) {
    const QDir fonts(QDir(resourcesPath).filePath(QStringLiteral("fonts")));
    if (QGuiApplication::instance()) {
        for (const QString& file :
             fonts.entryList({QStringLiteral("*.ttf"), QStringLiteral("*.otf")}, QDir::Files)) {
            QFontDatabase::addApplicationFont(fonts.filePath(file));
        }
    }
    const QString regular = QGuiApplication::instance()
                                ? QFontDatabase::systemFont(QFontDatabase::GeneralFont).family()
                                : QStringLiteral("Sans Serif");
    _regular = regular;
    _light = QGuiApplication::instance()
                 ? firstAvailable({QStringLiteral("Open Sans Light"), QStringLiteral("Noto Sans Light"),
                                   QStringLiteral("DejaVu Sans Light")},
                                  regular)
                 : regular;
    _semiBold = QGuiApplication::instance()
                    ? firstAvailable({QStringLiteral("Open Sans SemiBold"),
                                      QStringLiteral("Noto Sans SemiBold"), QStringLiteral("DejaVu Sans")},
                                     regular)
                    : regular;
}

QString FontFactory::familyForPlaceholder(const QString& name) const {
    if (name == QLatin1String("DefaultUIFont")) {
        return _regular;
    }
    if (name == QLatin1String("DefaultUILightFont")) {
        return _light;
    }
    if (name == QLatin1String("DefaultUISemiBoldFont")) {
        return _semiBold;
    }
    return QString();
}

std::shared_ptr<FontFactory> createFontFactory(const QString& resourcesPath) {
    return std::make_shared<FontFactory>(resourcesPath);
}

} // namespace KX::Brovik
