#pragma once

#include "platform/brovik/editorcore/chart/ChartData.h"
#include "platform/brovik/editorcore/model/SlideElement.h"

#include <QString>

namespace KX::Tovrin {

// The width of text (lines separated by U+2028 or '\n') in points: measured with the font the
// renderer will use when a GUI application runs, estimated from the character count otherwise.
double chartTextWidth(const QString& text, const ChartTextStyle& style);

// Lines text takes when wrapped at width (words never split).
int chartTextLines(const QString& text, const ChartTextStyle& style, double width);

// A value in a spreadsheet number format: General (shortest form, at most decimals places when
// decimals >= 0), fixed decimals, thousands separators, percentages, literal prefixes and
// suffixes; dates and times of day from a serial day count (1900 system). Other sections
// fall back to General.
QString formatChartNumber(double value, const QString& format, int decimals = -1);

// A text shape for a chart label: box in chart coordinates, rotated about its centre.
ShapeElement chartLabel(const QRectF& box, const QString& text, const ChartTextStyle& style,
                        Paragraph::Align align, TextBody::Anchor anchor = TextBody::Anchor::Middle,
                        bool wrap = false, double rotation = 0);

} // namespace KX::Tovrin
