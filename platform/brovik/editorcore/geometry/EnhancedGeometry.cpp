#include "platform/brovik/editorcore/geometry/EnhancedGeometry.h"

#include "platform/brovik/editorcore/geometry/EnhancedFormula.h"
#include "platform/brovik/editorcore/package/XmlPart.h"

#include <QRegularExpression>
#include <QTransform>
#include <cmath>
#include <numbers>

namespace KX::Tovrin {

namespace {
const char* const DrawNs = "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0";
const char* const SvgNs = "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0";
constexpr int MaxTokens = 200000;
constexpr double Kappa = 0.5522847498; // cubic control distance of a quarter ellipse

QString drawAttr(const QDomElement& e, const char* ns, const char* name) {
    return e.attributeNS(QString::fromLatin1(ns), QString::fromLatin1(name));
}

QRectF parseViewBox(const QString& text) {
    const QStringList v = text.split(QRegularExpression(QStringLiteral("[ ,]+")), Qt::SkipEmptyParts);
    if (v.size() == 4 && v[2].toDouble() > 0 && v[3].toDouble() > 0)
        return QRectF(v[0].toDouble(), v[1].toDouble(), v[2].toDouble(), v[3].toDouble());
    return QRectF(0, 0, 21600, 21600);
}

// Path data split into command letters and parameters ("?f1", "$0", "10800", "left").
QStringList tokenize(const QString& path) {
    QStringList tokens;
    QString current;
    auto flush = [&] {
        if (!current.isEmpty())
            tokens.push_back(current);
        current.clear();
    };
    for (const QChar c : path) {
        if (tokens.size() > MaxTokens)
            break;
        if (c.isSpace() || c == QLatin1Char(',')) {
            flush();
        } else if (c.isLetter() && c.isUpper() && current.isEmpty()) {
            tokens.push_back(QString(c));
        } else if ((c == QLatin1Char('-') || c == QLatin1Char('+')) && !current.isEmpty() &&
                   !current.endsWith(QLatin1Char('e')) && !current.endsWith(QLatin1Char('E'))) {
            flush();
            current += c;
        } else {
            current += c;
        }
    }
    flush();
    return tokens;
}

int parameterCount(QChar command) {
    switch (command.toLatin1()) {
    case 'M':
    case 'L':
    case 'X':
    case 'Y':
        return 2;
    case 'Q':
        return 4;
    case 'C':
    case 'T':
    case 'U':
        return 6;
    case 'A':
    case 'B':
    case 'W':
    case 'V':
        return 8;
    default:
        return 0;
    }
}

// Sweep from a0 to a1 in degrees, counter-clockwise on screen when positive.
double sweep(double a0, double a1, bool clockwise) {
    double s = std::fmod(a1 - a0, 360.0);
    if (clockwise) {
        if (s >= 0)
            s -= 360;
    } else if (s <= 0) {
        s += 360;
    }
    return s;
}

// The ellipse parameter angle (degrees, Qt's convention) of the ray from the centre through p.
double rayAngle(const QRectF& box, QPointF p) {
    const QPointF c = box.center();
    const double rx = std::max(box.width() / 2, 1e-9), ry = std::max(box.height() / 2, 1e-9);
    return std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx) * 180 / std::numbers::pi;
}

class PathBuilder {
public:
    explicit PathBuilder(EnhancedFormulaContext& values) : _values(values) {}

    std::vector<GeometryPath> build(const QStringList& tokens) {
        int i = 0;
        QChar command = QLatin1Char('M');
        while (i < tokens.size()) {
            const QString& t = tokens[i];
            if (t.size() == 1 && t[0].isLetter() && t[0].isUpper()) {
                command = t[0];
                ++i;
                _quadrantX = command == QLatin1Char('X');
                if (parameterCount(command) == 0)
                    simple(command);
                continue;
            }
            const int n = parameterCount(command);
            if (n == 0 || i + n > tokens.size()) {
                ++i; // stray parameter
                continue;
            }
            std::vector<double> a;
            for (int k = 0; k < n; ++k)
                a.push_back(_values.parameter(tokens[i + k]));
            i += n;
            apply(command, a);
            if (command == QLatin1Char('M'))
                command = QLatin1Char('L'); // further pairs after a move are lines
        }
        finish();
        return std::move(_paths);
    }

private:
    void simple(QChar command) {
        switch (command.toLatin1()) {
        case 'Z':
            _path.closeSubpath();
            _closed = true;
            break;
        case 'N':
            finish();
            break;
        case 'F':
            _filled = false;
            break;
        case 'S':
            _stroked = false;
            break;
        default:
            break;
        }
    }

    void apply(QChar command, const std::vector<double>& a) {
        switch (command.toLatin1()) {
        case 'M':
            _path.moveTo(a[0], a[1]);
            break;
        case 'L':
            lineTo(QPointF(a[0], a[1]));
            break;
        case 'C':
            ensureStart(QPointF(a[0], a[1]));
            _path.cubicTo(a[0], a[1], a[2], a[3], a[4], a[5]);
            break;
        case 'Q':
            ensureStart(QPointF(a[0], a[1]));
            _path.quadTo(a[0], a[1], a[2], a[3]);
            break;
        case 'T':
        case 'U': {
            const QRectF box(a[0] - a[2], a[1] - a[3], 2 * a[2], 2 * a[3]);
            const double s = std::abs(a[5] - a[4]) >= 360 || a[5] == a[4] ? 360 : sweep(a[4], a[5], false);
            if (command == QLatin1Char('U') || _path.elementCount() == 0)
                _path.arcMoveTo(box, a[4]);
            _path.arcTo(box, a[4], s);
            break;
        }
        case 'A':
        case 'B':
        case 'W':
        case 'V': {
            const QRectF box = QRectF(QPointF(a[0], a[1]), QPointF(a[2], a[3])).normalized();
            const double a0 = rayAngle(box, QPointF(a[4], a[5]));
            const double a1 = rayAngle(box, QPointF(a[6], a[7]));
            const bool clockwise = command == QLatin1Char('W') || command == QLatin1Char('V');
            if (command == QLatin1Char('B') || command == QLatin1Char('V') || _path.elementCount() == 0)
                _path.arcMoveTo(box, a0);
            _path.arcTo(box, a0, sweep(a0, a1, clockwise));
            break;
        }
        case 'X':
        case 'Y':
            quadrant(QPointF(a[0], a[1]), _quadrantX);
            _quadrantX = !_quadrantX; // further pairs alternate between the two
            break;
        default:
            break;
        }
    }

    void ensureStart(QPointF p) {
        if (_path.elementCount() == 0)
            _path.moveTo(p);
    }

    void lineTo(QPointF p) {
        if (_path.elementCount() == 0)
            _path.moveTo(p);
        else
            _path.lineTo(p);
    }

    // A quarter ellipse from the current point to p, leaving horizontally or vertically.
    void quadrant(QPointF p, bool horizontalFirst) {
        if (_path.elementCount() == 0) {
            _path.moveTo(p);
            return;
        }
        const QPointF from = _path.currentPosition();
        const QPointF corner = horizontalFirst ? QPointF(p.x(), from.y()) : QPointF(from.x(), p.y());
        _path.cubicTo(from + (corner - from) * Kappa, p + (corner - p) * Kappa, p);
    }

    void finish() {
        if (!_path.isEmpty()) {
            GeometryPath g;
            g.path = _path;
            g.filled = _filled;
            g.stroked = _stroked;
            g.closed = _closed;
            _paths.push_back(std::move(g));
        }
        _path = QPainterPath();
        _filled = true;
        _stroked = true;
        _closed = false;
    }

    EnhancedFormulaContext& _values;
    std::vector<GeometryPath> _paths;
    QPainterPath _path;
    bool _filled = true;
    bool _stroked = true;
    bool _closed = false;
    bool _quadrantX = true;
};

std::map<QString, QString> equationsOf(const QDomElement& geometry) {
    std::map<QString, QString> equations;
    forEachChild(geometry, QStringLiteral("equation"), [&](const QDomElement& e) {
        equations[drawAttr(e, DrawNs, "name")] = drawAttr(e, DrawNs, "formula");
    });
    return equations;
}

std::vector<double> modifiersOf(const QDomElement& geometry) {
    std::vector<double> values;
    for (const QString& v :
         drawAttr(geometry, DrawNs, "modifiers").split(QLatin1Char(' '), Qt::SkipEmptyParts))
        if (values.size() < 64)
            values.push_back(v.toDouble());
    return values;
}
} // namespace

std::optional<GeometryDefinition::Result> evaluateEnhancedGeometry(const QDomElement& geometry, QSizeF size) {
    const QString pathText = drawAttr(geometry, DrawNs, "enhanced-path");
    if (pathText.trimmed().isEmpty() || size.isEmpty())
        return std::nullopt;
    const QRectF viewBox = parseViewBox(drawAttr(geometry, SvgNs, "viewBox"));
    EnhancedFormulaContext values(viewBox, modifiersOf(geometry), equationsOf(geometry), size);
    GeometryDefinition::Result result;
    result.paths = PathBuilder(values).build(tokenize(pathText));
    if (result.paths.empty())
        return std::nullopt;
    QTransform toShape;
    toShape.scale(size.width() / viewBox.width(), size.height() / viewBox.height());
    toShape.translate(-viewBox.left(), -viewBox.top());
    for (GeometryPath& p : result.paths)
        p.path = toShape.map(p.path);
    const QStringList area = tokenize(drawAttr(geometry, DrawNs, "text-areas"));
    if (area.size() >= 4) {
        const QRectF r(QPointF(values.parameter(area[0]), values.parameter(area[1])),
                       QPointF(values.parameter(area[2]), values.parameter(area[3])));
        result.textRect = toShape.mapRect(r.normalized());
    }
    return result;
}

} // namespace KX::Tovrin
