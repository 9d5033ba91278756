#include "platform/brovik/editorcore/chart/ChartText.h"

#include "platform/brovik/editorcore/render/FontMapper.h"

#include <QDateTime>
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
    bool date = false; // a date or time pattern
};

// The calendar day of a spreadsheet serial (1900 system: day 1 is 1 January 1900, counting the
// 29 February 1900 those programs count).
QDateTime serialDate(double serial) {
    const double day = std::floor(serial);
    const QDate base = day >= 61 ? QDate(1899, 12, 30) : QDate(1899, 12, 31);
    const qint64 seconds = std::llround((serial - day) * 86400);
    return QDateTime(base.addDays(qint64(day)), QTime(0, 0)).addSecs(seconds);
}

// A date in a pattern of y, m, d, h, s runs (m after h or before s: minutes), AM/PM, quoted and
// escaped literals.
QString formatDate(double serial, const QString& pattern) {
    const QDateTime at = serialDate(serial);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const bool twelve = pattern.contains(QLatin1String("AM/PM"), Qt::CaseInsensitive);
    QString out;
    bool afterHour = false;
    for (int i = 0; i < pattern.size();) {
        const QChar c = pattern.at(i);
        const QChar lower = c.toLower();
        int run = 1;
        while (i + run < pattern.size() && pattern.at(i + run).toLower() == lower)
            ++run;
        QString rest = pattern.mid(i + run).toLower();
        const bool beforeColon = rest.startsWith(QLatin1Char(':'));
        while (!rest.isEmpty() && QStringLiteral(":. ").contains(rest.front()))
            rest.remove(0, 1);
        if (c == QLatin1Char('"')) {
            const int end = pattern.indexOf(QLatin1Char('"'), i + 1);
            out += pattern.mid(i + 1, (end < 0 ? pattern.size() : end) - i - 1);
            i = end < 0 ? int(pattern.size()) : end + 1;
            continue;
        }
        if (c == QLatin1Char('\\') && i + 1 < pattern.size()) {
            out += pattern.at(i + 1);
            i += 2;
            continue;
        }
        if (c == QLatin1Char('[')) {
            const int end = pattern.indexOf(QLatin1Char(']'), i);
            i = end < 0 ? int(pattern.size()) : end + 1;
            continue;
        }
        if (pattern.mid(i, 5).compare(QLatin1String("AM/PM"), Qt::CaseInsensitive) == 0) {
            out += at.time().hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
            i += 5;
            continue;
        }
        const bool minutes = lower == QLatin1Char('m') && run <= 2 &&
                             (afterHour || beforeColon || rest.startsWith(QLatin1Char('s')));
        if (lower == QLatin1Char('y'))
            out += run <= 2 ? at.toString(QStringLiteral("yy")) : at.toString(QStringLiteral("yyyy"));
        else if (minutes)
            out += QString::number(at.time().minute()).rightJustified(run, QLatin1Char('0'));
        else if (lower == QLatin1Char('m'))
            out += run >= 4   ? english.monthName(at.date().month())
                   : run == 3 ? english.monthName(at.date().month(), QLocale::ShortFormat)
                   : run == 5 ? english.monthName(at.date().month()).left(1)
                              : QString::number(at.date().month()).rightJustified(run, QLatin1Char('0'));
        else if (lower == QLatin1Char('d'))
            out += run >= 4   ? english.dayName(at.date().dayOfWeek())
                   : run == 3 ? english.dayName(at.date().dayOfWeek(), QLocale::ShortFormat)
                              : QString::number(at.date().day()).rightJustified(run, QLatin1Char('0'));
        else if (lower == QLatin1Char('h')) {
            const int hour = twelve ? (at.time().hour() + 11) % 12 + 1 : at.time().hour();
            out += QString::number(hour).rightJustified(std::min(run, 2), QLatin1Char('0'));
        } else if (lower == QLatin1Char('s'))
            out += QString::number(at.time().second()).rightJustified(std::min(run, 2), QLatin1Char('0'));
        else
            out += pattern.mid(i, run);
        if (lower == QLatin1Char('h'))
            afterHour = true;
        else if (lower == QLatin1Char('m') || lower == QLatin1Char('d') || lower == QLatin1Char('y'))
            afterHour = false;
        i += run;
    }
    return out;
}

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
            p.date = !QStringLiteral("@eE").contains(c);
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
    if (p.date && value >= 0 && value < 2958466) // up to the year 9999
        return formatDate(value, sections.at(0));
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
