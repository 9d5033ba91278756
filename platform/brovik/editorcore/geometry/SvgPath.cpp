#include "platform/brovik/editorcore/geometry/SvgPath.h"

#include <cmath>
#include <numbers>

namespace KX::Tovrin {

namespace {
class Scanner {
public:
    explicit Scanner(const QString& s) : _s(s) {}

    void skipSeparators() {
        while (_i < _s.size() && (_s[_i].isSpace() || _s[_i] == QLatin1Char(',')))
            ++_i;
    }
    bool atEnd() {
        skipSeparators();
        return _i >= _s.size();
    }
    bool nextIsNumber() {
        skipSeparators();
        if (_i >= _s.size())
            return false;
        const QChar c = _s[_i];
        return c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char('+') || c == QLatin1Char('.');
    }
    QChar command() {
        skipSeparators();
        return _i < _s.size() ? _s[_i++] : QChar();
    }
    bool number(double& out) {
        skipSeparators();
        const int start = _i;
        if (_i < _s.size() && (_s[_i] == QLatin1Char('-') || _s[_i] == QLatin1Char('+')))
            ++_i;
        bool dot = false;
        bool exp = false;
        while (_i < _s.size()) {
            const QChar c = _s[_i];
            if (c.isDigit()) {
                ++_i;
            } else if (c == QLatin1Char('.') && !dot && !exp) {
                dot = true;
                ++_i;
            } else if ((c == QLatin1Char('e') || c == QLatin1Char('E')) && !exp) {
                exp = true;
                ++_i;
                if (_i < _s.size() && (_s[_i] == QLatin1Char('-') || _s[_i] == QLatin1Char('+')))
                    ++_i;
            } else {
                break;
            }
        }
        bool ok = false;
        out = QStringView(_s).mid(start, _i - start).toDouble(&ok);
        return ok && std::isfinite(out);
    }

private:
    const QString& _s;
    int _i = 0;
};

// Endpoint-parameterised elliptical arc (SVG implementation notes, F.6.5) to cubic curves.
void arcTo(QPainterPath& path, QPointF from, double rx, double ry, double angleDeg, bool large, bool sweep,
           QPointF to) {
    if (rx == 0 || ry == 0 || from == to) {
        path.lineTo(to);
        return;
    }
    rx = std::abs(rx);
    ry = std::abs(ry);
    const double phi = angleDeg * std::numbers::pi / 180;
    const double cp = std::cos(phi), sp = std::sin(phi);
    const double dx = (from.x() - to.x()) / 2, dy = (from.y() - to.y()) / 2;
    const double x1 = cp * dx + sp * dy, y1 = -sp * dx + cp * dy;
    const double lambda = x1 * x1 / (rx * rx) + y1 * y1 / (ry * ry);
    if (lambda > 1) {
        rx *= std::sqrt(lambda);
        ry *= std::sqrt(lambda);
    }
    const double num = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
    const double den = rx * rx * y1 * y1 + ry * ry * x1 * x1;
    double coef = den == 0 ? 0 : std::sqrt(std::max(0.0, num / den));
    if (large == sweep)
        coef = -coef;
    const double cx1 = coef * rx * y1 / ry, cy1 = -coef * ry * x1 / rx;
    const double cx = cp * cx1 - sp * cy1 + (from.x() + to.x()) / 2;
    const double cy = sp * cx1 + cp * cy1 + (from.y() + to.y()) / 2;
    auto angle = [](double ux, double uy, double vx, double vy) {
        return std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
    };
    const double t1 = angle(1, 0, (x1 - cx1) / rx, (y1 - cy1) / ry);
    double dt = angle((x1 - cx1) / rx, (y1 - cy1) / ry, (-x1 - cx1) / rx, (-y1 - cy1) / ry);
    if (!sweep && dt > 0)
        dt -= 2 * std::numbers::pi;
    else if (sweep && dt < 0)
        dt += 2 * std::numbers::pi;
    const int segments = std::max(1, int(std::ceil(std::abs(dt) / (std::numbers::pi / 2))));
    const double step = dt / segments;
    const double k = 4.0 / 3.0 * std::tan(step / 4);
    double t = t1;
    for (int i = 0; i < segments; ++i) {
        const double c1 = std::cos(t), s1 = std::sin(t), c2 = std::cos(t + step), s2 = std::sin(t + step);
        auto map = [&](double x, double y) {
            return QPointF(cx + cp * rx * x - sp * ry * y, cy + sp * rx * x + cp * ry * y);
        };
        path.cubicTo(map(c1 - k * s1, s1 + k * c1), map(c2 + k * s2, s2 - k * c2), map(c2, s2));
        t += step;
    }
}
} // namespace

QPainterPath parseSvgPath(const QString& data) {
    QPainterPath path;
    Scanner in(data);
    QPointF cur, start, lastControl;
    QChar previous;
    QChar cmd;
    for (int guard = 0; guard < 1000000 && !in.atEnd(); ++guard) {
        if (!in.nextIsNumber()) {
            cmd = in.command();
        } else if (cmd.isNull()) {
            break;
        } else if (cmd == QLatin1Char('M')) {
            cmd = QLatin1Char('L'); // further coordinate pairs after a move are lines
        } else if (cmd == QLatin1Char('m')) {
            cmd = QLatin1Char('l');
        }
        const bool rel = cmd.isLower();
        const QPointF base = rel ? cur : QPointF();
        double v[7];
        auto read = [&](int n) {
            for (int i = 0; i < n; ++i)
                if (!in.number(v[i]))
                    return false;
            return true;
        };
        const char c = char(cmd.toUpper().toLatin1());
        bool ok = true;
        switch (c) {
        case 'M':
            if ((ok = read(2))) {
                cur = base + QPointF(v[0], v[1]);
                path.moveTo(cur);
                start = cur;
            }
            break;
        case 'L':
            if ((ok = read(2))) {
                cur = base + QPointF(v[0], v[1]);
                path.lineTo(cur);
            }
            break;
        case 'H':
            if ((ok = read(1))) {
                cur.setX(rel ? cur.x() + v[0] : v[0]);
                path.lineTo(cur);
            }
            break;
        case 'V':
            if ((ok = read(1))) {
                cur.setY(rel ? cur.y() + v[0] : v[0]);
                path.lineTo(cur);
            }
            break;
        case 'C':
            if ((ok = read(6))) {
                const QPointF c1 = base + QPointF(v[0], v[1]);
                lastControl = base + QPointF(v[2], v[3]);
                cur = base + QPointF(v[4], v[5]);
                path.cubicTo(c1, lastControl, cur);
            }
            break;
        case 'S':
            if ((ok = read(4))) {
                const bool smooth =
                    previous.toUpper() == QLatin1Char('C') || previous.toUpper() == QLatin1Char('S');
                const QPointF c1 = smooth ? 2 * cur - lastControl : cur;
                lastControl = base + QPointF(v[0], v[1]);
                cur = base + QPointF(v[2], v[3]);
                path.cubicTo(c1, lastControl, cur);
            }
            break;
        case 'Q':
            if ((ok = read(4))) {
                lastControl = base + QPointF(v[0], v[1]);
                cur = base + QPointF(v[2], v[3]);
                path.quadTo(lastControl, cur);
            }
            break;
        case 'T':
            if ((ok = read(2))) {
                const bool smooth =
                    previous.toUpper() == QLatin1Char('Q') || previous.toUpper() == QLatin1Char('T');
                lastControl = smooth ? 2 * cur - lastControl : cur;
                cur = base + QPointF(v[0], v[1]);
                path.quadTo(lastControl, cur);
            }
            break;
        case 'A':
            if ((ok = read(7))) {
                const QPointF to = base + QPointF(v[5], v[6]);
                arcTo(path, cur, v[0], v[1], v[2], v[3] != 0, v[4] != 0, to);
                cur = to;
            }
            break;
        case 'Z':
            path.closeSubpath();
            cur = start;
            ok = !in.nextIsNumber(); // numbers cannot follow a close
            break;
        default:
            ok = false;
        }
        if (!ok)
            break;
        previous = cmd;
    }
    return path;
}

} // namespace KX::Tovrin
