#include "platform/brovik/style/StyleSheetLoader.h"

#include "platform/brovik/style/FontFactory.h"

#include <QFile>
#include <QRegularExpression>

namespace KX::Brovik {

StyleSubstitutions StyleSubstitutions::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return StyleSubstitutions();
    }
    return parse(QString::fromUtf8(file.readAll()));
}

StyleSubstitutions StyleSubstitutions::parse(const QString& text) {
    StyleSubstitutions result;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const QStringList fields = line.split(QLatin1Char(';'));
        if (fields.size() != 3 || fields[0].trimmed().isEmpty()) {
            continue;
        }
        const QString name = fields[0].trimmed();
        result._values.insert(name, fields[1].trimmed());
        result._groups.insert(name, fields[2].trimmed());
    }
    return result;
}

QString substituteStyleSheet(const QString& styleSheet, const StyleSubstitutions& colours,
                             const FontFactory* fonts) {
    static const QRegularExpression placeholder(QStringLiteral("@([A-Za-z0-9_]+)@"));
    QString result;
    result.reserve(styleSheet.size());
    int last = 0;
    auto matches = placeholder.globalMatch(styleSheet);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        const QString name = match.captured(1);
        QString replacement = colours.value(name);
        if (replacement.isEmpty() && fonts) {
            replacement = fonts->familyForPlaceholder(name);
        }
        result += styleSheet.mid(last, match.capturedStart() - last);
        result += replacement.isEmpty() ? match.captured(0) : replacement;
        last = match.capturedEnd();
    }
    result += styleSheet.mid(last);
    return result;
}

QString loadStyleSheet(const QString& path, const FontFactory* fonts) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return QString();
    }
    return substituteStyleSheet(QString::fromUtf8(file.readAll()), StyleSubstitutions::load(), fonts);
}

} // namespace KX::Brovik
