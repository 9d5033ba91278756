#include "platform/brovik/editorcore/odp/OdpScene.h"

#include "platform/brovik/editorcore/geometry/SvgPath.h"
#include "platform/brovik/editorcore/odp/OdfNames.h"
#include "platform/brovik/editorcore/package/XmlPart.h"

#include <algorithm>
#include <cmath>

namespace KX::Tovrin {

namespace {
constexpr double UnitsPerPoint = 2540.0 / 72.0; // scene units are hundredths of a millimetre
constexpr int MaxObjects = 2000;
constexpr int MaxDepth = 8;

QString dr3d(const QDomElement& e, const char* name) {
    return Odf::attr(e, Odf::Dr3d, name);
}

// "(x y z)"; fallback when malformed.
QVector3D vector(const QString& text, QVector3D fallback) {
    const QStringList parts = QString(text)
                                  .remove(QLatin1Char('('))
                                  .remove(QLatin1Char(')'))
                                  .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() != 3)
        return fallback;
    float v[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        v[i] = parts[i].toFloat(&ok);
        if (!ok || !std::isfinite(v[i]))
            return fallback;
    }
    return {v[0], v[1], v[2]};
}

// "matrix (a b c d e f g h i j k l)": three columns and a translation, the last with units.
QMatrix4x4 matrix(const QString& text) {
    const int open = text.indexOf(QLatin1Char('(')), close = text.lastIndexOf(QLatin1Char(')'));
    if (!text.trimmed().startsWith(QLatin1String("matrix")) || open < 0 || close < open)
        return {};
    const QStringList parts =
        text.mid(open + 1, close - open - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() != 12)
        return {};
    float m[12];
    for (int i = 0; i < 12; ++i) {
        bool ok = false;
        m[i] = i < 9 ? parts[i].toFloat(&ok) : float(Odf::length(parts[i], NAN) * UnitsPerPoint);
        if (i < 9 && !ok)
            return {};
        if (!std::isfinite(m[i]))
            return {};
    }
    return QMatrix4x4(m[0], m[3], m[6], m[9], m[1], m[4], m[7], m[10], m[2], m[5], m[8], m[11], 0, 0, 0, 1);
}

// The outline of a turned or pushed object in scene units; its y is the scene's y.
std::vector<QPolygonF> outlines(const QDomElement& e) {
    const QPainterPath path = parseSvgPath(Odf::attr(e, Odf::Svg, "d"));
    std::vector<QPolygonF> result;
    for (QPolygonF polygon : path.toSubpathPolygons()) {
        if (polygon.size() > 4000)
            polygon.resize(4000);
        result.push_back(std::move(polygon));
    }
    return result;
}

void readObjects(const QDomElement& scene, const QMatrix4x4& outer, Scene3d& out,
                 const Scene3dStyleLookup& styles, int depth) {
    for (QDomElement e = scene.firstChildElement(); !e.isNull() && out.objects.size() < MaxObjects;
         e = e.nextSiblingElement()) {
        const QString n = e.localName();
        const QMatrix4x4 transform = outer * matrix(dr3d(e, "transform"));
        if (n == QLatin1String("scene")) {
            if (depth < MaxDepth)
                readObjects(e, transform, out, styles, depth + 1);
            continue;
        }
        Scene3dObject o;
        o.transform = transform;
        if (n == QLatin1String("rotate")) {
            o.kind = Scene3dObject::Kind::Lathe;
            o.outlines = outlines(e);
        } else if (n == QLatin1String("extrude")) {
            o.kind = Scene3dObject::Kind::Extrude;
            o.outlines = outlines(e);
        } else if (n == QLatin1String("cube")) {
            o.kind = Scene3dObject::Kind::Cube;
            o.minimum = vector(dr3d(e, "min-edge"), o.minimum);
            o.maximum = vector(dr3d(e, "max-edge"), o.maximum);
        } else if (n == QLatin1String("sphere")) {
            o.kind = Scene3dObject::Kind::Sphere;
            o.center = vector(dr3d(e, "center"), o.center);
            o.size = vector(dr3d(e, "size"), o.size);
        } else {
            continue;
        }
        o.colour = styles.colour(e);
        bool ok = false;
        const int segments = styles.property(e, "horizontal-segments").toInt(&ok);
        if (ok)
            o.segments = segments;
        const double endAngle = styles.property(e, "end-angle").toDouble(&ok);
        if (ok && std::isfinite(endAngle))
            o.endAngle = endAngle / 10; // tenths of a degree
        const double depth = Odf::length(styles.property(e, "depth"), NAN) * UnitsPerPoint;
        if (std::isfinite(depth) && depth > 0)
            o.depth = std::min(depth, 1e6);
        out.objects.push_back(std::move(o));
    }
}

double grey(const QString& colour, double fallback) {
    const QColor c(colour);
    return c.isValid() ? c.valueF() : fallback;
}
} // namespace

Scene3d readOdfScene(const QDomElement& scene, const Scene3dStyleLookup& styles) {
    Scene3d out;
    out.transform = matrix(dr3d(scene, "transform"));
    out.viewReference = vector(dr3d(scene, "vrp"), out.viewReference);
    out.perspective = dr3d(scene, "projection") != QLatin1String("parallel");
    const double focal = Odf::length(dr3d(scene, "focal-length"), 0) * UnitsPerPoint;
    if (focal > 0 && std::isfinite(focal))
        out.focalLength = focal;
    out.ambient = grey(dr3d(scene, "ambient-color"), out.ambient);
    forEachChild(scene, QStringLiteral("light"), [&](const QDomElement& l) {
        if (dr3d(l, "enabled") == QLatin1String("true"))
            out.lights.push_back(
                {vector(dr3d(l, "direction"), {0, 0, 1}), grey(dr3d(l, "diffuse-color"), 0.8)});
    });
    // The scene's own transform turns the whole scene; objects carry theirs inside it.
    readObjects(scene, QMatrix4x4(), out, styles, 0);
    return out;
}

} // namespace KX::Tovrin
