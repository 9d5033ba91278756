#include "platform/brovik/editorcore/geometry/GeometryDefinition.h"

#include <cmath>

namespace KX::Tovrin {

namespace {
double adjustValue(const std::map<QString, QString>& adjust, const QString& name, double fallback) {
    auto it = adjust.find(name);
    if (it == adjust.end())
        return fallback;
    const QStringList parts = it->second.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    bool ok = false;
    const double v = parts.size() == 2 ? parts[1].toDouble(&ok) : 0;
    return ok && std::isfinite(v) ? v : fallback;
}

GeometryPath closedPath(const QPolygonF& polygon) {
    GeometryPath p;
    p.path.addPolygon(polygon);
    p.path.closeSubpath();
    return p;
}
} // namespace

// Without the preset definitions these are drawn directly, so the shapes people use most keep
// their look; everything else becomes its bounding rectangle.
bool basicPresetGeometry(const QString& name, QSizeF size, const std::map<QString, QString>& adjust,
                         GeometryDefinition::Result& result) {
    const double w = size.width();
    const double h = size.height();
    const double ss = std::min(w, h);
    result.paths.clear();
    result.textRect = QRectF(0, 0, w, h);
    if (name == QLatin1String("rect") || name.isEmpty()) {
        result.paths.push_back(closedPath(QPolygonF(QRectF(0, 0, w, h))));
    } else if (name == QLatin1String("roundRect")) {
        const double r =
            ss * std::clamp(adjustValue(adjust, QStringLiteral("adj"), 16667), 0.0, 50000.0) / 100000;
        GeometryPath p;
        p.path.addRoundedRect(QRectF(0, 0, w, h), r, r);
        result.paths.push_back(p);
    } else if (name == QLatin1String("ellipse")) {
        GeometryPath p;
        p.path.addEllipse(QRectF(0, 0, w, h));
        result.paths.push_back(p);
        result.textRect = QRectF(w * 0.146, h * 0.146, w * 0.708, h * 0.708);
    } else if (name == QLatin1String("triangle")) {
        const double a =
            std::clamp(adjustValue(adjust, QStringLiteral("adj"), 50000), 0.0, 100000.0) / 100000;
        result.paths.push_back(closedPath(QPolygonF({QPointF(w * a, 0), QPointF(w, h), QPointF(0, h)})));
    } else if (name == QLatin1String("rtTriangle")) {
        result.paths.push_back(closedPath(QPolygonF({QPointF(0, 0), QPointF(w, h), QPointF(0, h)})));
    } else if (name == QLatin1String("diamond")) {
        result.paths.push_back(closedPath(
            QPolygonF({QPointF(w / 2, 0), QPointF(w, h / 2), QPointF(w / 2, h), QPointF(0, h / 2)})));
    } else if (name == QLatin1String("line") || name.startsWith(QLatin1String("straightConnector")) ||
               name.startsWith(QLatin1String("bentConnector")) ||
               name.startsWith(QLatin1String("curvedConnector"))) {
        GeometryPath p;
        p.filled = false;
        p.closed = false;
        p.path.moveTo(0, 0);
        if (name.startsWith(QLatin1String("bentConnector3"))) {
            const double x = w * adjustValue(adjust, QStringLiteral("adj1"), 50000) / 100000;
            p.path.lineTo(x, 0);
            p.path.lineTo(x, h);
        }
        p.path.lineTo(w, h);
        result.paths.push_back(p);
    } else if (name == QLatin1String("rightArrow") || name == QLatin1String("leftArrow")) {
        const double a1 =
            std::clamp(adjustValue(adjust, QStringLiteral("adj1"), 50000), 0.0, 100000.0) / 100000;
        const double a2 = adjustValue(adjust, QStringLiteral("adj2"), 50000) / 100000;
        const double head = std::min(w, ss * a2);
        const double y0 = h * (1 - a1) / 2;
        const double y1 = h - y0;
        QPolygonF poly({QPointF(0, y0), QPointF(w - head, y0), QPointF(w - head, 0), QPointF(w, h / 2),
                        QPointF(w - head, h), QPointF(w - head, y1), QPointF(0, y1)});
        if (name == QLatin1String("leftArrow"))
            for (QPointF& pt : poly)
                pt.setX(w - pt.x());
        result.paths.push_back(closedPath(poly));
    } else if (name == QLatin1String("upArrow") || name == QLatin1String("downArrow")) {
        const double a1 =
            std::clamp(adjustValue(adjust, QStringLiteral("adj1"), 50000), 0.0, 100000.0) / 100000;
        const double a2 = adjustValue(adjust, QStringLiteral("adj2"), 50000) / 100000;
        const double head = std::min(h, ss * a2);
        const double x0 = w * (1 - a1) / 2;
        const double x1 = w - x0;
        QPolygonF poly({QPointF(x0, h), QPointF(x0, head), QPointF(0, head), QPointF(w / 2, 0),
                        QPointF(w, head), QPointF(x1, head), QPointF(x1, h)});
        if (name == QLatin1String("downArrow"))
            for (QPointF& pt : poly)
                pt.setY(h - pt.y());
        result.paths.push_back(closedPath(poly));
    } else if (name == QLatin1String("leftRightArrow")) {
        const double a1 =
            std::clamp(adjustValue(adjust, QStringLiteral("adj1"), 50000), 0.0, 100000.0) / 100000;
        const double head = std::min(w / 2, ss * adjustValue(adjust, QStringLiteral("adj2"), 50000) / 100000);
        const double y0 = h * (1 - a1) / 2;
        const double y1 = h - y0;
        result.paths.push_back(closedPath(
            QPolygonF({QPointF(0, h / 2), QPointF(head, 0), QPointF(head, y0), QPointF(w - head, y0),
                       QPointF(w - head, 0), QPointF(w, h / 2), QPointF(w - head, h), QPointF(w - head, y1),
                       QPointF(head, y1), QPointF(head, h)})));
    } else {
        return false;
    }
    return true;
}

} // namespace KX::Tovrin
