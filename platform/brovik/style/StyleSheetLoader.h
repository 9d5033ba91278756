#pragma once

#include <QHash>
#include <QString>

namespace KX::Brovik {

class FontFactory;

// The named colours of the application's colour table (":/styles/styleSubstitutions": one
// "name;value;group" entry per line).
class StyleSubstitutions {
public:
    static constexpr const char* DefaultPath = ":/styles/styleSubstitutions";

    // Reads the table; a missing file gives an empty table, malformed lines are skipped.
    static StyleSubstitutions load(const QString& path = QString::fromLatin1(DefaultPath));
    static StyleSubstitutions parse(const QString& text);

    QString value(const QString& name) const { return _values.value(name); }
    QString group(const QString& name) const { return _groups.value(name); }
    int size() const { return static_cast<int>(_values.size()); }

private:
    QHash<QString, QString> _values;
    QHash<QString, QString> _groups;
};

// Replaces every "@Name@" placeholder of a style sheet by the colour of that name or by the font
// family the font factory gives for it; unknown names are left as written.
QString substituteStyleSheet(const QString& styleSheet, const StyleSubstitutions& colours,
                             const FontFactory* fonts);

// Reads a style sheet resource and substitutes it; an unreadable path gives an empty style sheet.
QString loadStyleSheet(const QString& path, const FontFactory* fonts);

} // namespace KX::Brovik
