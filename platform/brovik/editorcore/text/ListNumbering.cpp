#include "platform/brovik/editorcore/text/ListNumbering.h"

#include <algorithm>

namespace KX::Tovrin {

namespace {
QString roman(int n) {
    static const std::pair<int, const char*> table[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    QString out;
    n = std::clamp(n, 1, 3999);
    for (const auto& [value, text] : table)
        while (n >= value) {
            out += QLatin1String(text);
            n -= value;
        }
    return out;
}

QString alpha(int n) {
    // a..z, then aa..zz, as the authoring programs count.
    n = std::max(1, n);
    const int repeat = (n - 1) / 26 + 1;
    return QString(std::min(repeat, 50), QChar('a' + (n - 1) % 26));
}
} // namespace

int ListNumbering::next(int level, const QString& scheme, int startAt, bool counts) {
    level = std::clamp(level, 0, 9);
    for (int deeper = level + 1; deeper < 10; ++deeper)
        _levels[deeper].active = false;
    Counter& c = _levels[level];
    if (!c.active || c.scheme != scheme) {
        c.active = true;
        c.scheme = scheme;
        c.value = startAt - 1;
    }
    if (counts)
        ++c.value;
    return std::max(c.value, 1);
}

void ListNumbering::interrupt(int level, bool counts) {
    if (!counts)
        return;
    level = std::clamp(level, 0, 9);
    for (int l = level; l < 10; ++l)
        _levels[l].active = false;
}

QString formatListNumber(const QString& scheme, int number) {
    QString body;
    if (scheme.startsWith(QLatin1String("romanUc")))
        body = roman(number).toUpper();
    else if (scheme.startsWith(QLatin1String("romanLc")))
        body = roman(number);
    else if (scheme.startsWith(QLatin1String("alphaUc")))
        body = alpha(number).toUpper();
    else if (scheme.startsWith(QLatin1String("alphaLc")))
        body = alpha(number);
    else
        body = QString::number(number);
    if (scheme.endsWith(QLatin1String("ParenBoth")))
        return QLatin1Char('(') + body + QLatin1Char(')');
    if (scheme.endsWith(QLatin1String("ParenR")))
        return body + QLatin1Char(')');
    if (scheme.endsWith(QLatin1String("Plain")))
        return body;
    if (scheme.endsWith(QLatin1String("Minus")))
        return QStringLiteral("- ") + body + QStringLiteral(" -");
    return body + QLatin1Char('.');
}

} // namespace KX::Tovrin
