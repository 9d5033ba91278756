#include "platform/brovik/editorcore/odp/OdfNames.h"

#include <cmath>

namespace KX::Tovrin::Odf {

double length(const QString& text, double fallback) {
    const QString t = text.trimmed();
    int split = t.size();
    while (split > 0 && t.at(split - 1).isLetter())
        --split;
    bool ok = false;
    const double v = t.left(split).toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return fallback;
    const QString unit = t.mid(split).toLower();
    double points = v;
    if (unit == QLatin1String("cm"))
        points = v * 72 / 2.54;
    else if (unit == QLatin1String("mm"))
        points = v * 72 / 25.4;
    else if (unit == QLatin1String("in") || unit == QLatin1String("inch"))
        points = v * 72;
    else if (unit == QLatin1String("pc"))
        points = v * 12;
    else if (unit == QLatin1String("px"))
        points = v * 0.75;
    else if (unit == QLatin1String("pt") || unit.isEmpty())
        points = v;
    else
        return fallback;
    return std::clamp(points, -1e7, 1e7);
}

double percent(const QString& text, double fallback) {
    const QString t = text.trimmed();
    if (!t.endsWith(QLatin1Char('%')))
        return fallback;
    bool ok = false;
    const double v = t.chopped(1).toDouble(&ok);
    return ok && std::isfinite(v) ? v / 100.0 : fallback;
}

} // namespace KX::Tovrin::Odf
