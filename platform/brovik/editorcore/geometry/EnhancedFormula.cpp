#include "platform/brovik/editorcore/geometry/EnhancedFormula.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace KX::Tovrin {

namespace {
constexpr int MaxNesting = 64;
constexpr std::size_t MaxEquationDepth = 256;

double finite(double v) {
    return std::isfinite(v) ? v : 0.0;
}
} // namespace

// Recursive descent over one formula: sum := product (± product)*, product := unary (*/ unary)*.
class FormulaParser {
public:
    FormulaParser(const QString& text, EnhancedFormulaContext& context) : _text(text), _context(context) {}

    double parse() { return finite(sum(0)); }

private:
    void skipSpace() {
        while (_pos < _text.size() && _text[_pos].isSpace())
            ++_pos;
    }
    bool take(QChar c) {
        skipSpace();
        if (_pos < _text.size() && _text[_pos] == c) {
            ++_pos;
            return true;
        }
        return false;
    }

    double sum(int depth) {
        double v = product(depth);
        for (;;) {
            if (take(QLatin1Char('+')))
                v += product(depth);
            else if (take(QLatin1Char('-')))
                v -= product(depth);
            else
                return v;
        }
    }

    double product(int depth) {
        double v = unary(depth);
        for (;;) {
            if (take(QLatin1Char('*'))) {
                v *= unary(depth);
            } else if (take(QLatin1Char('/'))) {
                const double d = unary(depth);
                v = d == 0 ? 0 : v / d;
            } else {
                return v;
            }
        }
    }

    double unary(int depth) {
        if (depth > MaxNesting)
            return 0;
        if (take(QLatin1Char('-')))
            return -unary(depth + 1);
        if (take(QLatin1Char('+')))
            return unary(depth + 1);
        return primary(depth + 1);
    }

    QString word() {
        skipSpace();
        const int start = _pos;
        while (_pos < _text.size() && (_text[_pos].isLetterOrNumber() || _text[_pos] == QLatin1Char('_')))
            ++_pos;
        return _text.mid(start, _pos - start);
    }

    double primary(int depth) {
        skipSpace();
        if (_pos >= _text.size())
            return 0;
        const QChar c = _text[_pos];
        if (take(QLatin1Char('('))) {
            const double v = sum(depth);
            take(QLatin1Char(')'));
            return v;
        }
        if (c == QLatin1Char('?') || c == QLatin1Char('$')) {
            ++_pos;
            return _context.parameter(c + word());
        }
        if (c.isDigit() || c == QLatin1Char('.')) {
            const int start = _pos;
            while (_pos < _text.size() && (_text[_pos].isDigit() || _text[_pos] == QLatin1Char('.')))
                ++_pos;
            if (_pos < _text.size() && (_text[_pos] == QLatin1Char('e') || _text[_pos] == QLatin1Char('E'))) {
                ++_pos;
                if (_pos < _text.size() &&
                    (_text[_pos] == QLatin1Char('-') || _text[_pos] == QLatin1Char('+')))
                    ++_pos;
                while (_pos < _text.size() && _text[_pos].isDigit())
                    ++_pos;
            }
            return _text.mid(start, _pos - start).toDouble();
        }
        const QString name = word();
        if (name.isEmpty()) {
            ++_pos; // skip what cannot start a term
            return 0;
        }
        if (!take(QLatin1Char('(')))
            return _context.named(name);
        std::vector<double> args;
        if (!take(QLatin1Char(')'))) {
            do
                args.push_back(sum(depth));
            while (take(QLatin1Char(',')));
            take(QLatin1Char(')'));
        }
        return call(name, args);
    }

    static double call(const QString& name, const std::vector<double>& a) {
        auto arg = [&](std::size_t i) { return i < a.size() ? a[i] : 0.0; };
        if (name == QLatin1String("abs"))
            return std::abs(arg(0));
        if (name == QLatin1String("sqrt"))
            return std::sqrt(std::max(0.0, arg(0)));
        if (name == QLatin1String("sin"))
            return std::sin(arg(0));
        if (name == QLatin1String("cos"))
            return std::cos(arg(0));
        if (name == QLatin1String("tan"))
            return std::tan(arg(0));
        if (name == QLatin1String("atan"))
            return std::atan(arg(0));
        if (name == QLatin1String("atan2"))
            return std::atan2(arg(0), arg(1));
        if (name == QLatin1String("min"))
            return std::min(arg(0), arg(1));
        if (name == QLatin1String("max"))
            return std::max(arg(0), arg(1));
        if (name == QLatin1String("if"))
            return arg(0) > 0 ? arg(1) : arg(2);
        return 0;
    }

    const QString& _text;
    EnhancedFormulaContext& _context;
    int _pos = 0;
};

EnhancedFormulaContext::EnhancedFormulaContext(QRectF viewBox, std::vector<double> modifiers,
                                               std::map<QString, QString> equations, QSizeF shapeSize)
    : _viewBox(viewBox), _shapeSize(shapeSize), _modifiers(std::move(modifiers)),
      _equations(std::move(equations)) {}

double EnhancedFormulaContext::evaluate(const QString& formula) {
    return FormulaParser(formula, *this).parse();
}

double EnhancedFormulaContext::parameter(const QString& token) {
    if (token.isEmpty())
        return 0;
    if (token[0] == QLatin1Char('?'))
        return equation(token.mid(1));
    if (token[0] == QLatin1Char('$')) {
        bool ok = false;
        const int index = token.mid(1).toInt(&ok);
        return ok && index >= 0 && std::size_t(index) < _modifiers.size() ? _modifiers[std::size_t(index)]
                                                                          : 0.0;
    }
    bool ok = false;
    const double v = token.toDouble(&ok);
    return ok ? finite(v) : named(token);
}

double EnhancedFormulaContext::equation(const QString& name) {
    auto known = _values.find(name);
    if (known != _values.end())
        return known->second;
    auto it = _equations.find(name);
    if (it == _equations.end() || _evaluating.size() > MaxEquationDepth ||
        std::find(_evaluating.begin(), _evaluating.end(), name) != _evaluating.end())
        return 0;
    _evaluating.push_back(name);
    const double v = evaluate(it->second);
    _evaluating.pop_back();
    _values[name] = v;
    return v;
}

double EnhancedFormulaContext::named(const QString& name) const {
    if (name == QLatin1String("pi"))
        return std::numbers::pi;
    if (name == QLatin1String("left"))
        return _viewBox.left();
    if (name == QLatin1String("top"))
        return _viewBox.top();
    if (name == QLatin1String("right"))
        return _viewBox.right();
    if (name == QLatin1String("bottom"))
        return _viewBox.bottom();
    if (name == QLatin1String("width"))
        return _viewBox.width();
    if (name == QLatin1String("height"))
        return _viewBox.height();
    // Logical sizes are the shape's in 1/100 mm.
    if (name == QLatin1String("logwidth"))
        return _shapeSize.width() * 2540 / 72;
    if (name == QLatin1String("logheight"))
        return _shapeSize.height() * 2540 / 72;
    if (name == QLatin1String("hasstroke") || name == QLatin1String("hasfill"))
        return 1;
    return 0; // xstretch, ystretch and unknown names
}

} // namespace KX::Tovrin
