#include "platform/brovik/editorcore/geometry/GeometryDefinition.h"

#include "platform/brovik/editorcore/package/XmlPart.h"

#include <cmath>
#include <numbers>

namespace KX::Tovrin {

namespace {

constexpr double AngleUnit = 60000.0; // DrawingML angles are 60000ths of a degree

double toRadians(double drawingAngle) {
    return drawingAngle / AngleUnit * std::numbers::pi / 180.0;
}

// Evaluates guide formulas over a growing set of named values.
class GuideContext {
public:
    GuideContext(double w, double h) {
        const double ss = std::min(w, h);
        const double ls = std::max(w, h);
        _values = {{"w", w},          {"h", h},           {"l", 0},          {"t", 0},
                   {"r", w},          {"b", h},           {"hc", w / 2},     {"vc", h / 2},
                   {"ss", ss},        {"ls", ls},         {"cd2", 10800000}, {"cd4", 5400000},
                   {"cd8", 2700000},  {"3cd4", 16200000}, {"3cd8", 8100000}, {"5cd8", 13500000},
                   {"7cd8", 18900000}};
        for (int d : {2, 3, 4, 5, 6, 8, 10, 12, 16, 32}) {
            _values[QStringLiteral("wd%1").arg(d)] = w / d;
            _values[QStringLiteral("hd%1").arg(d)] = h / d;
            _values[QStringLiteral("ssd%1").arg(d)] = ss / d;
        }
    }

    double value(const QString& token) const {
        auto it = _values.find(token);
        if (it != _values.end())
            return it->second;
        bool ok = false;
        const double v = token.toDouble(&ok);
        return ok && std::isfinite(v) ? v : 0.0;
    }

    void set(const QString& name, double v) { _values[name] = std::isfinite(v) ? v : 0.0; }
    bool has(const QString& name) const { return _values.count(name) != 0; }

    double evaluate(const QString& formula) const {
        const QStringList t = formula.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (t.isEmpty())
            return 0;
        auto a = [&](int i) { return i < t.size() ? value(t[i]) : 0.0; };
        const QString& op = t[0];
        if (op == QLatin1String("val"))
            return a(1);
        if (op == QLatin1String("*/"))
            return a(3) == 0 ? 0 : a(1) * a(2) / a(3);
        if (op == QLatin1String("+-"))
            return a(1) + a(2) - a(3);
        if (op == QLatin1String("+/"))
            return a(3) == 0 ? 0 : (a(1) + a(2)) / a(3);
        if (op == QLatin1String("?:"))
            return a(1) > 0 ? a(2) : a(3);
        if (op == QLatin1String("abs"))
            return std::abs(a(1));
        if (op == QLatin1String("at2"))
            return std::atan2(a(2), a(1)) * 180.0 / std::numbers::pi * AngleUnit;
        if (op == QLatin1String("cat2"))
            return a(1) * std::cos(std::atan2(a(3), a(2)));
        if (op == QLatin1String("sat2"))
            return a(1) * std::sin(std::atan2(a(3), a(2)));
        if (op == QLatin1String("cos"))
            return a(1) * std::cos(toRadians(a(2)));
        if (op == QLatin1String("sin"))
            return a(1) * std::sin(toRadians(a(2)));
        if (op == QLatin1String("tan"))
            return a(1) * std::tan(toRadians(a(2)));
        if (op == QLatin1String("max"))
            return std::max(a(1), a(2));
        if (op == QLatin1String("min"))
            return std::min(a(1), a(2));
        if (op == QLatin1String("mod"))
            return std::sqrt(a(1) * a(1) + a(2) * a(2) + a(3) * a(3));
        if (op == QLatin1String("pin"))
            return a(2) < a(1) ? a(1) : (a(2) > a(3) ? a(3) : a(2));
        if (op == QLatin1String("sqrt"))
            return std::sqrt(std::max(0.0, a(1)));
        return 0;
    }

private:
    std::map<QString, double> _values;
};

std::vector<GeometryDefinition::Guide> readGuides(const QDomElement& list) {
    std::vector<GeometryDefinition::Guide> guides;
    forEachChild(list, QStringLiteral("gd"), [&](const QDomElement& gd) {
        guides.push_back({gd.attribute(QStringLiteral("name")), gd.attribute(QStringLiteral("fmla"))});
    });
    return guides;
}

// Parametric angle of the point at visual angle `visual` on an ellipse with radii rx, ry.
double parametricDegrees(double visualDegrees, double rx, double ry) {
    if (rx <= 0 || ry <= 0)
        return visualDegrees;
    const double a = visualDegrees * std::numbers::pi / 180.0;
    double t = std::atan2(rx * std::sin(a), ry * std::cos(a)) * 180.0 / std::numbers::pi;
    // Keep the same turn as the visual angle so sweeps stay continuous.
    while (t - visualDegrees > 180)
        t -= 360;
    while (visualDegrees - t > 180)
        t += 360;
    return t;
}

} // namespace

GeometryDefinition GeometryDefinition::fromXml(const QDomElement& element) {
    GeometryDefinition def;
    def._adjustDefaults = readGuides(firstChild(element, QStringLiteral("avLst")));
    def._guides = readGuides(firstChild(element, QStringLiteral("gdLst")));
    const QDomElement rect = firstChild(element, QStringLiteral("rect"));
    def._rect[0] = rect.attribute(QStringLiteral("l"), QStringLiteral("l"));
    def._rect[1] = rect.attribute(QStringLiteral("t"), QStringLiteral("t"));
    def._rect[2] = rect.attribute(QStringLiteral("r"), QStringLiteral("r"));
    def._rect[3] = rect.attribute(QStringLiteral("b"), QStringLiteral("b"));
    forEachChild(firstChild(element, QStringLiteral("pathLst")), QStringLiteral("path"),
                 [&](const QDomElement& p) {
                     Path path;
                     path.width = attrDouble(p, QStringLiteral("w"), 0);
                     path.height = attrDouble(p, QStringLiteral("h"), 0);
                     path.fill = p.attribute(QStringLiteral("fill"), QStringLiteral("norm"));
                     path.stroke = attrBool(p, QStringLiteral("stroke"), true);
                     forEachChild(p, [&](const QDomElement& c) {
                         Command cmd;
                         const QString n = c.localName();
                         auto addPoints = [&] {
                             forEachChild(c, QStringLiteral("pt"), [&](const QDomElement& pt) {
                                 cmd.args.push_back(pt.attribute(QStringLiteral("x")));
                                 cmd.args.push_back(pt.attribute(QStringLiteral("y")));
                             });
                         };
                         if (n == QLatin1String("moveTo")) {
                             cmd.kind = Command::Kind::Move;
                             addPoints();
                         } else if (n == QLatin1String("lnTo")) {
                             cmd.kind = Command::Kind::Line;
                             addPoints();
                         } else if (n == QLatin1String("quadBezTo")) {
                             cmd.kind = Command::Kind::Quad;
                             addPoints();
                         } else if (n == QLatin1String("cubicBezTo")) {
                             cmd.kind = Command::Kind::Cubic;
                             addPoints();
                         } else if (n == QLatin1String("arcTo")) {
                             cmd.kind = Command::Kind::Arc;
                             for (const char* a : {"wR", "hR", "stAng", "swAng"})
                                 cmd.args.push_back(c.attribute(QString::fromLatin1(a), QStringLiteral("0")));
                         } else if (n == QLatin1String("close")) {
                             cmd.kind = Command::Kind::Close;
                         } else {
                             return;
                         }
                         path.commands.push_back(std::move(cmd));
                     });
                     def._paths.push_back(std::move(path));
                 });
    return def;
}

GeometryDefinition GeometryDefinition::fromStream(QXmlStreamReader& reader) {
    GeometryDefinition def;
    for (auto& r : def._rect)
        r.clear();
    std::vector<Guide>* guides = nullptr;
    Path* path = nullptr;
    Command* command = nullptr;
    int depth = 1;
    while (depth > 0 && !reader.atEnd()) {
        const auto token = reader.readNext();
        if (token == QXmlStreamReader::EndElement) {
            --depth;
            const auto name = reader.name();
            if (name == QLatin1String("avLst") || name == QLatin1String("gdLst"))
                guides = nullptr;
            else if (name == QLatin1String("path"))
                path = nullptr;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        ++depth;
        const auto name = reader.name();
        const QXmlStreamAttributes a = reader.attributes();
        if (name == QLatin1String("avLst")) {
            guides = &def._adjustDefaults;
        } else if (name == QLatin1String("gdLst")) {
            guides = &def._guides;
        } else if (name == QLatin1String("gd") && guides != nullptr) {
            guides->push_back(
                {a.value(QLatin1String("name")).toString(), a.value(QLatin1String("fmla")).toString()});
        } else if (name == QLatin1String("rect") && path == nullptr) {
            const char* keys[4] = {"l", "t", "r", "b"};
            for (int i = 0; i < 4; ++i)
                def._rect[i] = a.hasAttribute(QLatin1String(keys[i]))
                                   ? a.value(QLatin1String(keys[i])).toString()
                                   : QString::fromLatin1(keys[i]);
        } else if (name == QLatin1String("path")) {
            Path p;
            bool ok = false;
            p.width = a.value(QLatin1String("w")).toDouble(&ok);
            p.height = a.value(QLatin1String("h")).toDouble(&ok);
            p.fill = a.hasAttribute(QLatin1String("fill")) ? a.value(QLatin1String("fill")).toString()
                                                           : QStringLiteral("norm");
            const auto stroke = a.value(QLatin1String("stroke"));
            p.stroke = !(stroke == QLatin1String("0") || stroke == QLatin1String("false"));
            def._paths.push_back(std::move(p));
            path = &def._paths.back();
        } else if (path != nullptr) {
            Command cmd;
            if (name == QLatin1String("moveTo"))
                cmd.kind = Command::Kind::Move;
            else if (name == QLatin1String("lnTo"))
                cmd.kind = Command::Kind::Line;
            else if (name == QLatin1String("quadBezTo"))
                cmd.kind = Command::Kind::Quad;
            else if (name == QLatin1String("cubicBezTo"))
                cmd.kind = Command::Kind::Cubic;
            else if (name == QLatin1String("arcTo"))
                cmd.kind = Command::Kind::Arc;
            else if (name == QLatin1String("close"))
                cmd.kind = Command::Kind::Close;
            else if (name == QLatin1String("pt") && !path->commands.empty()) {
                path->commands.back().args.push_back(a.value(QLatin1String("x")).toString());
                path->commands.back().args.push_back(a.value(QLatin1String("y")).toString());
                continue;
            } else
                continue;
            if (cmd.kind == Command::Kind::Arc)
                for (const char* k : {"wR", "hR", "stAng", "swAng"})
                    cmd.args.push_back(a.hasAttribute(QLatin1String(k)) ? a.value(QLatin1String(k)).toString()
                                                                        : QStringLiteral("0"));
            path->commands.push_back(std::move(cmd));
            command = &path->commands.back();
        }
    }
    (void)command;
    for (int i = 0; i < 4; ++i)
        if (def._rect[i].isEmpty())
            def._rect[i] = QString::fromLatin1(i == 0 ? "l" : i == 1 ? "t" : i == 2 ? "r" : "b");
    return def;
}

GeometryDefinition::Result GeometryDefinition::evaluate(QSizeF size,
                                                        const std::map<QString, QString>& adjust) const {
    const double w = std::max(0.0, size.width());
    const double h = std::max(0.0, size.height());
    GuideContext ctx(w, h);
    for (const Guide& g : _adjustDefaults) {
        auto it = adjust.find(g.name);
        ctx.set(g.name, ctx.evaluate(it != adjust.end() ? it->second : g.formula));
    }
    for (const auto& [name, formula] : adjust)
        if (!ctx.has(name))
            ctx.set(name, ctx.evaluate(formula));
    for (const Guide& g : _guides)
        ctx.set(g.name, ctx.evaluate(g.formula));

    Result result;
    result.textRect = QRectF(QPointF(ctx.value(_rect[0]), ctx.value(_rect[1])),
                             QPointF(ctx.value(_rect[2]), ctx.value(_rect[3])))
                          .normalized();
    for (const Path& p : _paths) {
        const double sx = p.width > 0 ? w / p.width : 1.0;
        const double sy = p.height > 0 ? h / p.height : 1.0;
        GeometryPath out;
        out.filled = p.fill != QLatin1String("none");
        out.stroked = p.stroke;
        out.closed = false;
        if (p.fill == QLatin1String("darken"))
            out.fillShade = 0.6;
        else if (p.fill == QLatin1String("darkenLess"))
            out.fillShade = 0.8;
        else if (p.fill == QLatin1String("lighten"))
            out.fillShade = 1.4;
        else if (p.fill == QLatin1String("lightenLess"))
            out.fillShade = 1.2;
        QPainterPath& path = out.path;
        auto pt = [&](const Command& c, std::size_t i) {
            if (i + 1 >= c.args.size())
                return QPointF();
            return QPointF(ctx.value(c.args[i]) * sx, ctx.value(c.args[i + 1]) * sy);
        };
        for (const Command& c : p.commands) {
            switch (c.kind) {
            case Command::Kind::Move:
                if (c.args.size() >= 2)
                    path.moveTo(pt(c, 0));
                break;
            case Command::Kind::Line:
                if (c.args.size() >= 2)
                    path.lineTo(pt(c, 0));
                break;
            case Command::Kind::Quad:
                if (c.args.size() >= 4)
                    path.quadTo(pt(c, 0), pt(c, 2));
                break;
            case Command::Kind::Cubic:
                if (c.args.size() >= 6)
                    path.cubicTo(pt(c, 0), pt(c, 2), pt(c, 4));
                break;
            case Command::Kind::Arc: {
                if (c.args.size() < 4)
                    break;
                const double rx = ctx.value(c.args[0]) * sx;
                const double ry = ctx.value(c.args[1]) * sy;
                const double start = ctx.value(c.args[2]) / AngleUnit;
                const double sweep = ctx.value(c.args[3]) / AngleUnit;
                const double t0 = parametricDegrees(start, rx, ry);
                double t1 = parametricDegrees(start + sweep, rx, ry);
                double tsweep = t1 - t0;
                if (std::abs(sweep) >= 360)
                    tsweep = sweep;
                const QPointF cur = path.elementCount() > 0 ? path.currentPosition() : QPointF();
                const double tr = t0 * std::numbers::pi / 180.0;
                const QPointF centre(cur.x() - rx * std::cos(tr), cur.y() - ry * std::sin(tr));
                // Qt measures angles counter-clockwise on screen, DrawingML clockwise.
                path.arcTo(QRectF(centre.x() - rx, centre.y() - ry, 2 * rx, 2 * ry), -t0, -tsweep);
                break;
            }
            case Command::Kind::Close:
                path.closeSubpath();
                out.closed = true;
                break;
            }
        }
        if (!path.isEmpty())
            result.paths.push_back(std::move(out));
    }
    return result;
}

GeometryDefinition::Result presetGeometry(const QString& name, QSizeF size,
                                          const std::map<QString, QString>& adjust) {
    if (const GeometryDefinition* def = presetDefinition(name)) {
        GeometryDefinition::Result r = def->evaluate(size, adjust);
        if (!r.paths.empty())
            return r;
    }
    GeometryDefinition::Result r;
    if (basicPresetGeometry(name, size, adjust, r))
        return r;
    basicPresetGeometry(QStringLiteral("rect"), size, {}, r);
    return r;
}

} // namespace KX::Tovrin
