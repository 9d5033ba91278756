#include "platform/brovik/editorcore/pptx/VmlPreview.h"

#include <QRegularExpression>

namespace KX::Tovrin {

namespace {
// A CSS length in points (pt, in, px at 96 dpi; bare numbers are pixels in VML styles).
double cssLength(const QString& style, const QString& name) {
    const QRegularExpression re(QStringLiteral("(?:^|;)\\s*") + name +
                                QStringLiteral("\\s*:\\s*(-?[0-9.]+)\\s*([a-z]*)"));
    const QRegularExpressionMatch m = re.match(style);
    if (!m.hasMatch())
        return -1;
    const double v = m.captured(1).toDouble();
    const QString unit = m.captured(2);
    if (unit == QLatin1String("in"))
        return v * 72;
    if (unit == QLatin1String("cm"))
        return v * 72 / 2.54;
    if (unit == QLatin1String("mm"))
        return v * 72 / 25.4;
    if (unit == QLatin1String("pt"))
        return v;
    return v * 0.75;
}
} // namespace

std::optional<VmlPreview> findVmlPreview(const QByteArray& vml, const QString& shapeId) {
    if (shapeId.isEmpty())
        return std::nullopt;
    const QString text = QString::fromUtf8(vml);
    const QString spid =
        shapeId.startsWith(QLatin1String("_x0000_")) ? shapeId : QStringLiteral("_x0000_s") + shapeId;
    // Newer files name the shape in o:spid, older ones only in its id.
    int at = text.indexOf(QStringLiteral("o:spid=\"") + spid + QLatin1Char('"'));
    if (at < 0)
        at = text.indexOf(QStringLiteral(" id=\"") + spid + QLatin1Char('"'));
    if (at < 0)
        return std::nullopt;
    const int start = text.lastIndexOf(QLatin1String("<v:shape"), at);
    const int end = text.indexOf(QLatin1String("</v:shape>"), at);
    if (start < 0 || end < 0)
        return std::nullopt;
    const QString shape = text.mid(start, end - start);
    static const QRegularExpression relid(QStringLiteral("<v:imagedata[^>]*o:relid=\"([^\"]+)\""));
    const QRegularExpressionMatch image = relid.match(shape);
    if (!image.hasMatch())
        return std::nullopt;
    VmlPreview preview;
    preview.relationshipId = image.captured(1);
    static const QRegularExpression styleRe(QStringLiteral("style=(?:'([^']*)'|\"([^\"]*)\")"));
    const QRegularExpressionMatch style = styleRe.match(shape);
    if (style.hasMatch()) {
        const QString css = style.captured(1).isEmpty() ? style.captured(2) : style.captured(1);
        const double l = cssLength(css, QStringLiteral("left"));
        const double t = cssLength(css, QStringLiteral("top"));
        const double w = cssLength(css, QStringLiteral("width"));
        const double h = cssLength(css, QStringLiteral("height"));
        if (w > 0 && h > 0)
            preview.bounds = QRectF(std::max(0.0, l), std::max(0.0, t), w, h);
    }
    return preview;
}

} // namespace KX::Tovrin
