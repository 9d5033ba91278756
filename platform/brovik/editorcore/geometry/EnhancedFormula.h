#pragma once

#include <QRectF>
#include <QString>
#include <map>
#include <vector>

namespace KX::Tovrin {

// Evaluates the infix formulas of OpenDocument custom shapes: numbers, + - * /, parentheses,
// $n modifiers, ?name equations, the view box's names (left, top, right, bottom, width,
// height), pi and the functions abs sqrt sin cos tan atan atan2 min max if. Equations are
// evaluated once each, on first use; cycles and malformed text give 0.
class EnhancedFormulaContext {
public:
    EnhancedFormulaContext(QRectF viewBox, std::vector<double> modifiers,
                           std::map<QString, QString> equations, QSizeF shapeSize = {});

    double evaluate(const QString& formula);
    // A path or text-area parameter: a number, ?equation, $modifier or one of the names.
    double parameter(const QString& token);

private:
    friend class FormulaParser;
    double equation(const QString& name);
    double named(const QString& name) const;

    QRectF _viewBox;
    QSizeF _shapeSize;
    std::vector<double> _modifiers;
    std::map<QString, QString> _equations;
    std::map<QString, double> _values;
    std::vector<QString> _evaluating;
};

} // namespace KX::Tovrin
