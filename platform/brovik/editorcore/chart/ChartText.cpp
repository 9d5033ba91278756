#include "platform/brovik/editorcore/chart/ChartText.h"

#include "platform/brovik/editorcore/render/FontMapper.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLocale>
#include <QStringList>
#include <cmath>

namespace KX::Tovrin {

namespace {
// Fonts are measured at this many pixels per point so integer pixel sizes stay precise.
constexpr double Scale = 4;

QStringList splitLines(const QString& text) {
    QString unified = text;
    unified.replace(QChar(0x2028), QLatin1Char('\n'));
    return unified.split(QLatin1Char('\n'));
}

double lineWidth(const QString& line, const ChartTextStyle& style) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return double(line.size()) * style.size * (style.bold ? 0.55 : 0.5);
    QFont font(mapFontFamily(style.family));
    font.setPixelSize(std::max(1, int(std::lround(style.size * Scale))));
    font.setBold(style.bold);
    font.setItalic(style.italic);
    return QFontMetricsF(font).horizontalAdvance(line) / Scale;
}

struct NumberPattern {
    QString prefix, suffix;
    int decimals = 0;
    bool grouping = false;
    bool percent = false;
    bool general = false;
};

// One section of a format code taken apart; general when it is not a plain number pattern.
NumberPattern parseSection(const QString& section) {
    NumberPattern p;
    QString before, after;
    bool inNumber = false, seenNumber = false, fraction = false;
    for (int i = 0; i < section.size(); ++i) {
        const QChar c = section.at(i);
        QString literal;
        if (c == QLatin1Char('"')) {
            const int end = section.indexOf(QLatin1Char('"'), i + 1);
            literal = section.mid(i + 1, (end < 0 ? section.size() : end) - i - 1);
            i = end < 0 ? int(section.size()) : end;
        } else if (c == QLatin1Char('\\') && i + 1 < section.size()) {
            literal = section.at(++i);
        } else if (c == QLatin1Char('[')) {
            const int end = section.indexOf(QLatin1Char(']'), i);
            i = end < 0 ? int(section.size()) : end;
            continue;
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#') || c == QLatin1Char('?')) {
            inNumber = seenNumber = true;
            if (fraction)
                ++p.decimals;
            continue;
        } else if (c == QLatin1Char('.') && inNumber) {
            fraction = true;
            continue;
        } else if (c == QLatin1Char(',') && inNumber) {
            p.grouping = true;
            continue;
        } else if (c == QLatin1Char('%')) {
            p.percent = true;
            literal = c;
        } else if (QStringLiteral("yYmMdDhHsS@eE").contains(c)) {
            p.general = true;
            return p;
        } else if (c == QLatin1Char('_') || c == QLatin1Char('*')) {
            ++i; // padding to another character's width
            continue;
        } else {
            literal = c;
        }
        if (seenNumber)
            inNumber = false;
        (seenNumber ? after : before) += literal;
    }
    p.general = !seenNumber;
    p.prefix = before;
    p.suffix = after;
    return p;
}

QString general(double value, int decimals) {
    if (decimals >= 0) {
        const double factor = std::pow(10.0, std::min(decimals, 12));
        value = std::round(value * factor) / factor;
    }
    if (std::abs(value) < 1e-12)
        value = 0;
    return QString::number(value, 'g', 10);
}
} // namespace

double chartTextWidth(const QString& text, const ChartTextStyle& style) {
    double widest = 0;
    for (const QString& line : splitLines(text))
        widest = std::max(widest, lineWidth(line, style));
    return widest;
}

int chartTextLines(const QString& text, const ChartTextStyle& style, double width) {
    int lines = 0;
    const double space = lineWidth(QStringLiteral(" "), style);
    for (const QString& line : splitLines(text)) {
        double x = 0;
        ++lines;
        for (const QString& word : line.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const double w = lineWidth(word, style);
            if (x > 0 && x + space + w > width) {
                ++lines;
                x = w;
            } else {
                x += (x > 0 ? space : 0) + w;
            }
        }
    }
    return std::max(lines, 1);
}

QString formatChartNumber(double value, const QString& format, int decimals) {
    if (!std::isfinite(value))
        return {};
    const QStringList sections = format.split(QLatin1Char(';'));
    const bool negativeSection = value < 0 && sections.size() > 1;
    const NumberPattern p = parseSection(negativeSection ? sections.at(1) : sections.at(0));
    if (format.isEmpty() || format.compare(QLatin1String("General"), Qt::CaseInsensitive) == 0 || p.general)
        return general(value, decimals);
    double v = negativeSection ? std::abs(value) : value;
    if (p.percent)
        v *= 100;
    QLocale locale(QLocale::English, QLocale::UnitedStates);
    if (!p.grouping)
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QString number = locale.toString(v, 'f', p.decimals);
    if (number.startsWith(QLatin1Char('-')) && !p.prefix.isEmpty()) {
        number.remove(0, 1);
        return QLatin1Char('-') + p.prefix + number + p.suffix;
    }
    return p.prefix + number + p.suffix;
}

ShapeElement chartLabel(const QRectF& box, const QString& text, const ChartTextStyle& style,
                        Paragraph::Align align, TextBody::Anchor anchor, bool wrap, double rotation) {
    ShapeElement shape;
    shape.frame.bounds = box;
    shape.frame.rotation = rotation;
    TextBody body;
    body.insets = QMarginsF(0, 0, 0, 0);
    body.sizeBasedLines = true;
    body.anchor = anchor;
    body.wrap = wrap;
    TextRun run;
    run.size = style.size;
    run.bold = style.bold;
    run.italic = style.italic;
    run.color = style.color;
    run.family = style.family;
    for (const QString& line : splitLines(text)) {
        Paragraph p;
        p.align = align;
        run.text = line;
        if (!line.isEmpty())
            p.runs.push_back(run);
        p.endFormat = run;
        body.paragraphs.push_back(p);
    }
    shape.text = body;
    return shape;
}

} // namespace KX::Tovrin
