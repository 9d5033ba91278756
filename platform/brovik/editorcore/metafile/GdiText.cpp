#include "platform/brovik/editorcore/metafile/GdiCanvas.h"

#include <QFontMetricsF>
#include <QTextCodec>
#include <cmath>
#include <numbers>

namespace KX::Tovrin::Metafiles {

namespace {
// Glyphs are laid out at this pixel size and scaled to the metafile's size, so tiny logical
// units (a font of 0.3 units under a large world transform) keep exact metrics.
constexpr int LayoutSize = 100;
constexpr quint32 UpdatePosition = 1, AlignRight = 2, AlignCenter = 6, AlignBottom = 8, AlignBaseline = 24;
constexpr quint32 Opaque = 2, Clipped = 4, GlyphIndices = 0x10, PairedAdvances = 0x2000;

int qtWeight(int gdiWeight) {
    if (gdiWeight <= 0)
        return QFont::Normal;
    return std::clamp(50 + (std::min(gdiWeight, 1000) - 400) * 25 / 300, 0, 99);
}
} // namespace

QString decodeAnsiText(const QByteArray& bytes, int charset) {
    static const std::pair<int, const char*> codePages[] = {
        {0, "windows-1252"},   {1, "windows-1252"},   {128, "Shift_JIS"},    {129, "windows-949"},
        {134, "GBK"},          {136, "Big5"},         {161, "windows-1253"}, {162, "windows-1254"},
        {163, "windows-1258"}, {177, "windows-1255"}, {178, "windows-1256"}, {186, "windows-1257"},
        {204, "windows-1251"}, {222, "TIS-620"},      {238, "windows-1250"}};
    for (const auto& [set, name] : codePages)
        if (set == charset)
            if (QTextCodec* codec = QTextCodec::codecForName(name))
                return codec->toUnicode(bytes);
    return QString::fromLatin1(bytes); // symbol fonts and unknown sets: the bytes as they are
}

QFont GdiCanvas::textFont(double& scale, double& ascent, double& descent) const {
    const GdiFont& f = _dc.font;
    QFont font(f.face.isEmpty() ? QStringLiteral("Sans Serif") : f.face);
    font.setPixelSize(LayoutSize);
    font.setWeight(qtWeight(f.weight));
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeOut);
    const QFontMetricsF metrics(font);
    const double sy = axisScale(logicalToDevice(), true);
    double em = 16; // the system font's size in device pixels
    if (f.height < 0)
        em = -f.height * sy;
    else if (f.height > 0)
        em = f.height * sy * LayoutSize / std::max(1.0, metrics.ascent() + metrics.descent());
    scale = em / LayoutSize;
    if (f.width != 0 && metrics.averageCharWidth() > 0) {
        const double wanted = std::abs(f.width) * axisScale(logicalToDevice(), false) / scale;
        font.setStretch(std::clamp(int(std::lround(100 * wanted / metrics.averageCharWidth())), 25, 400));
    }
    ascent = metrics.ascent();
    descent = metrics.descent();
    return font;
}

void GdiCanvas::text(const TextRun& run) {
    if (_pathOpen || run.text.isEmpty() || (run.options & GlyphIndices))
        return; // glyph indices name glyphs of a font we do not have
    const QTransform m = logicalToDevice();
    double scale = 1, ascent = 0, descent = 0;
    const QFont font = textFont(scale, ascent, descent);
    // Text under half a pixel is invisible; past a few thousand pixels the glyph rasteriser
    // gives up, and no picture means it.
    const double targetEm = scale * LayoutSize * _targetScale;
    if (!std::isfinite(targetEm) || targetEm < 0.5 || targetEm > 3000)
        return;
    const QFontMetricsF metrics(font);
    const double sx = axisScale(m, false);

    // Pen positions along the baseline, in layout units.
    QVector<double> positions;
    double total = 0;
    if (!run.advances.isEmpty()) {
        const int step = (run.options & PairedAdvances) ? 2 : 1;
        for (int i = 0; i < run.text.size(); ++i) {
            positions.push_back(total);
            total += run.advances.value(i * step) * sx / scale;
        }
    } else {
        total = metrics.horizontalAdvance(run.text);
    }
    const quint32 align = _dc.textAlign;
    const QPointF reference = (align & UpdatePosition) ? _dc.position : run.reference;
    double x0 = 0;
    if ((align & AlignCenter) == AlignCenter)
        x0 = -total / 2;
    else if (align & AlignRight)
        x0 = -total;
    double baseline = ascent;
    if ((align & AlignBaseline) == AlignBaseline)
        baseline = 0;
    else if (align & AlignBottom)
        baseline = -descent;

    // Text stays upright in device space whatever the axes' directions; it turns with the world
    // transform and the font's escapement.
    const QPointF xAxis = m.map(QPointF(1, 0)) - m.map(QPointF(0, 0));
    double angle = std::abs(xAxis.y()) > 1e-9 ? std::atan2(xAxis.y(), xAxis.x()) * 180 / std::numbers::pi : 0;
    angle -= _dc.font.escapement / 10;
    const QTransform local = QTransform::fromScale(scale, scale) * QTransform().rotate(angle) *
                             QTransform::fromTranslate(m.map(reference).x(), m.map(reference).y());
    // Glyphs squeezed or sheared past recognition, or under a broken transform, are not drawn (Qt's
    // glyph cache also crashes on axes less than a degree apart).
    const QTransform glyphs = local * _deviceToPainter;
    const double gx = axisScale(glyphs, false), gy = axisScale(glyphs, true);
    if (!std::isfinite(gx) || !std::isfinite(gy) || !std::isfinite(glyphs.dx()) ||
        !std::isfinite(glyphs.dy()) || gx * LayoutSize > 3000 || gy * LayoutSize > 3000 ||
        std::min(gx, gy) * 50 < std::max(gx, gy) || std::abs(glyphs.determinant()) < 0.02 * gx * gy)
        return;

    enterDevice();
    if (run.rect && (run.options & (Opaque | Clipped))) {
        QPainterPath box;
        box.addRect(run.rect->normalized());
        const QPainterPath device = m.map(box);
        if (run.options & Opaque)
            _painter.fillPath(device, _dc.backColor);
        if (run.options & Clipped)
            _painter.setClipPath(device, Qt::IntersectClip);
    }
    _painter.setWorldTransform(local * _deviceToPainter);
    if (_dc.opaqueBackground && !(run.options & Opaque))
        _painter.fillRect(QRectF(x0, baseline - ascent, total, ascent + descent), _dc.backColor);
    _painter.setFont(font);
    _painter.setPen(_dc.textColor);
    if (positions.isEmpty()) {
        _painter.drawText(QPointF(x0, baseline), run.text);
    } else {
        for (int i = 0; i < run.text.size(); ++i) {
            const QChar c = run.text[i];
            if (c.isLowSurrogate())
                continue;
            const int n = c.isHighSurrogate() && i + 1 < run.text.size() ? 2 : 1;
            _painter.drawText(QPointF(x0 + positions[i], baseline), run.text.mid(i, n));
        }
    }
    _painter.restore();
    if (align & UpdatePosition)
        _dc.position = reference + QPointF(total * scale / std::max(sx, 1e-9), 0);
}

} // namespace KX::Tovrin::Metafiles
