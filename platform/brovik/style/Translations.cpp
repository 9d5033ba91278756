#include "platform/brovik/style/Translations.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace KX::Brovik {

bool installTranslations(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    const QString language = QLocale().name().section(QLatin1Char('_'), 0, 0);
    if (translator->load(QStringLiteral(":/translations/editor_") + language) ||
        translator->load(QStringLiteral(":/translations/editor_en"))) {
        application.installTranslator(translator);
        return true;
    }
    delete translator;
    return false;
}

} // namespace KX::Brovik
