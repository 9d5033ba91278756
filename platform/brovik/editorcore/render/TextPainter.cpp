#include "platform/brovik/editorcore/render/TextPainter.h"

#include "platform/brovik/editorcore/render/FontMapper.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <cmath>
#include <memory>

namespace KX::Tovrin {

namespace {

// Text is laid out in units of 1/Units point with integer pixel font sizes, so layout does not
// depend on any device's resolution and sizes keep a quarter-point precision.
constexpr double Units = 4.0;

QFont makeFont(const TextRun& run, double scale) {
    QFont font(mapFontFamily(run.family));
    font.setPixelSize(std::max(1, int(std::lround(run.size * scale * Units))));
    font.setBold(run.bold);
    font.setItalic(run.italic);
    font.setUnderline(run.underline);
    font.setStrikeOut(run.strikeOut);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);
    return font;
}

// How far a label's baseline rises when it is centred on the middle of the text's line box.
double labelRaise(const Bullet& bullet, const QFont& text, const QFont& label) {
    const QFontMetricsF t(text), l(label);
    const double middle = (t.ascent() - t.descent()) / 2;
    switch (bullet.placement) {
    case Bullet::Placement::CentredBox:
        return middle - (l.ascent() - l.descent()) / 2;
    case Bullet::Placement::CentredGlyph:
        return middle + l.tightBoundingRect(bullet.text).center().y();
    case Bullet::Placement::Baseline:
        break;
    }
    return 0;
}

// Tab positions count from where each line starts, as Qt measures them.
QList<QTextOption::Tab> tabStops(const Paragraph& p) {
    QList<QTextOption::Tab> tabs;
    for (const double stop : p.tabStops)
        tabs.append(QTextOption::Tab(stop * Units, QTextOption::LeftTab));
    return tabs;
}

struct LaidParagraph {
    std::unique_ptr<QTextLayout> layout;
    double height = 0; // units, without spacing around
    double spaceBefore = 0;
    double spaceAfter = 0;
    QString bullet;
    QFont bulletFont;
    QColor bulletColor;
    double bulletX = 0;
    double bulletRaise = 0; // units above the first baseline
    double firstBaseline = 0;
};

struct Layout {
    std::vector<LaidParagraph> paragraphs;
    double height = 0; // units
    double width = 0;  // widest line, units
};

// The height of a line comes from the fonts the text asks for. Glyphs Qt borrows from a
// fallback font (CJK text in a Latin font, say) do not stretch it: such fonts often declare
// far taller ascents than the font the author chose, and every line would drop.
struct LineMetrics {
    double ascent = 0, descent = 0;
    double size = 0; // largest pixel size
};

LineMetrics lineMetrics(const QTextLine& line, const QVector<QTextLayout::FormatRange>& formats,
                        const QFont& paragraphFont) {
    LineMetrics m;
    bool any = false;
    const int start = line.textStart(), end = line.textStart() + line.textLength();
    for (const QTextLayout::FormatRange& range : formats) {
        if (range.start >= end || range.start + range.length <= start || range.length == 0)
            continue;
        const QFontMetricsF fm(range.format.font());
        m.ascent = std::max(m.ascent, fm.ascent());
        m.descent = std::max(m.descent, fm.descent());
        m.size = std::max(m.size, double(range.format.font().pixelSize()));
        any = true;
    }
    if (!any) {
        const QFontMetricsF fm(paragraphFont);
        m = {fm.ascent(), fm.descent(), double(paragraphFont.pixelSize())};
    }
    return m;
}

Layout layoutBody(const TextBody& body, double width, double scale) {
    Layout result;
    const double spacingFactor = 1.0 - body.spacingReduction;
    double y = 0;
    bool first = true;
    for (const Paragraph& p : body.paragraphs) {
        LaidParagraph lp;
        QString text;
        QVector<QTextLayout::FormatRange> formats;
        for (const TextRun& run : p.runs) {
            QTextLayout::FormatRange range;
            range.start = text.size();
            range.length = run.text.size();
            range.format.setFont(makeFont(run, scale));
            range.format.setForeground(run.color);
            if (run.highlight.isValid())
                range.format.setBackground(run.highlight);
            if (run.outlineColor.isValid())
                range.format.setTextOutline(
                    QPen(run.outlineColor, std::max(0.25, run.outlineWidth) * Units * scale));
            if (run.baselineShift > 0.01)
                range.format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
            else if (run.baselineShift < -0.01)
                range.format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
            text += run.text;
            formats.push_back(range);
        }
        const TextRun& firstRun = p.runs.empty() ? p.endFormat : p.runs.front();
        lp.layout = std::make_unique<QTextLayout>(text, makeFont(firstRun, scale));
        lp.layout->setFormats(formats);
        QTextOption option;
        option.setAlignment(p.align == Paragraph::Align::Center    ? Qt::AlignHCenter
                            : p.align == Paragraph::Align::Right   ? Qt::AlignRight
                            : p.align == Paragraph::Align::Justify ? Qt::AlignJustify
                                                                   : Qt::AlignLeft);
        option.setWrapMode(body.wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
        option.setTabStopDistance((p.tabDistance > 0 ? p.tabDistance : 72) * Units * scale);
        if (!p.tabStops.empty())
            option.setTabs(tabStops(p));
        option.setUseDesignMetrics(true);
        lp.layout->setTextOption(option);
        lp.layout->setCacheEnabled(true);

        const bool hasBullet = !p.bullet.text.isEmpty();
        const double marginLeft = p.marginLeft * Units;
        const double bulletX = std::max(0.0, marginLeft + p.indent * Units);
        double firstX = marginLeft + p.indent * Units;
        if (hasBullet) {
            TextRun bulletRun = firstRun;
            bulletRun.family = p.bullet.family.isEmpty() ? firstRun.family : p.bullet.family;
            bulletRun.size = firstRun.size * p.bullet.sizeFactor;
            bulletRun.underline = false;
            bulletRun.strikeOut = false;
            lp.bulletFont = makeFont(bulletRun, scale);
            lp.bulletColor = p.bullet.color.isValid() ? p.bullet.color : firstRun.color;
            lp.bulletX = bulletX;
            lp.bullet = p.bullet.text;
            lp.bulletRaise = labelRaise(p.bullet, makeFont(firstRun, scale), lp.bulletFont);
            // Text starts at the margin unless the bullet reaches past it; then right after it.
            const double bulletEnd = bulletX + QFontMetricsF(lp.bulletFont).horizontalAdvance(p.bullet.text);
            firstX = std::max(marginLeft, bulletEnd);
        }
        double x = std::max(0.0, firstX);
        double ly = 0;
        lp.layout->beginLayout();
        for (int lineNo = 0; lineNo < 100000; ++lineNo) {
            QTextLine line = lp.layout->createLine();
            if (!line.isValid())
                break;
            const double available = std::max(Units, width - x - p.marginRight * Units);
            line.setLineWidth(available);
            // Single spacing is the font's ascent plus descent, its line gap left out (or 1.2 em,
            // see sizeBasedLines); extra spacing goes above the line, the baseline keeps its foot.
            const LineMetrics metrics = lineMetrics(line, formats, lp.layout->font());
            const double natural =
                body.sizeBasedLines ? 1.2 * metrics.size : metrics.ascent + metrics.descent;
            const double descent = body.sizeBasedLines ? 0.2 * metrics.size : metrics.descent;
            double lineHeight = p.exactLineHeight > 0 ? p.exactLineHeight * Units * scale
                                                      : natural * p.lineSpacing * spacingFactor;
            const double baseline = ly + lineHeight - descent;
            line.setPosition(QPointF(x, baseline - line.ascent()));
            if (lineNo == 0)
                lp.firstBaseline = baseline;
            result.width = std::max(result.width, x + line.naturalTextWidth());
            ly += lineHeight;
            x = std::max(0.0, marginLeft);
        }
        lp.layout->endLayout();
        lp.height = ly;
        lp.spaceBefore = first ? 0 : p.spaceBefore * Units * scale;
        lp.spaceAfter = p.spaceAfter * Units * scale;
        y += lp.spaceBefore + lp.height + lp.spaceAfter;
        first = false;
        result.paragraphs.push_back(std::move(lp));
    }
    if (!result.paragraphs.empty())
        y -= result.paragraphs.back().spaceAfter;
    result.height = y;
    return result;
}

bool allRunsKeepMetrics(const TextBody& body) {
    for (const Paragraph& p : body.paragraphs)
        for (const TextRun& run : p.runs)
            if (!keepsAuthorMetrics(run.family))
                return false;
    return true;
}

// The layout to paint: with shrink-to-fit, the largest scale (found by bisection) whose text
// fits the height, but never below 30 % of the authored size. A scale the authoring program
// fitted stays as it is while the text keeps the author's metrics.
Layout fittedLayout(const TextBody& body, double width, double height) {
    Layout layout = layoutBody(body, width, body.fontScale);
    if (body.fittedByAuthor && allRunsKeepMetrics(body))
        return layout;
    if (!body.shrinkToFit || layout.height <= height + Units)
        return layout;
    double fits = body.fontScale * 0.3;
    double overflows = body.fontScale;
    Layout best = layoutBody(body, width, fits);
    for (int i = 0; i < 6 && best.height <= height + Units; ++i) {
        const double middle = (fits + overflows) / 2;
        Layout candidate = layoutBody(body, width, middle);
        if (candidate.height <= height + Units) {
            fits = middle;
            best = std::move(candidate);
        } else {
            overflows = middle;
        }
    }
    return best;
}

} // namespace

void paintText(QPainter& painter, const TextBody& body, const QRectF& rect) {
    if (body.paragraphs.empty())
        return;
    painter.save();
    QRectF box = rect;
    if (std::abs(body.rotation) > 0.01) {
        const QPointF c = rect.center();
        painter.translate(c);
        painter.rotate(body.rotation);
        painter.translate(-c);
        const double r = std::fmod(std::abs(body.rotation), 180.0);
        if (r > 45 && r < 135)
            box = QRectF(c.x() - rect.height() / 2, c.y() - rect.width() / 2, rect.height(), rect.width());
    }
    const QRectF inner = box.marginsRemoved(body.insets);
    const double width = std::max(1.0, inner.width()) * Units;
    const double height = std::max(0.0, inner.height()) * Units;
    Layout layout = fittedLayout(body, width, height);

    // Insets larger than the box leave a negative text area; anchoring still measures from its
    // edges, so centred text stays centred on the box instead of dropping below it.
    const double anchorHeight = inner.height() * Units;
    double y = 0;
    if (body.anchor == TextBody::Anchor::Middle)
        y = (anchorHeight - layout.height) / 2;
    else if (body.anchor == TextBody::Anchor::Bottom)
        y = anchorHeight - layout.height;
    double x = 0;
    if (body.anchorCenter)
        x = (inner.width() * Units - layout.width) / 2;

    painter.translate(inner.topLeft());
    painter.scale(1 / Units, 1 / Units);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const LaidParagraph& p : layout.paragraphs) {
        y += p.spaceBefore;
        p.layout->draw(&painter, QPointF(x, y));
        if (!p.bullet.isEmpty()) {
            painter.setFont(p.bulletFont);
            painter.setPen(p.bulletColor);
            painter.drawText(QPointF(x + p.bulletX, y + p.firstBaseline - p.bulletRaise), p.bullet);
        }
        y += p.height + p.spaceAfter;
    }
    painter.restore();
}

double measureTextHeight(const TextBody& body, double width) {
    const double inner = std::max(1.0, width - body.insets.left() - body.insets.right()) * Units;
    return layoutBody(body, inner, body.fontScale).height / Units + body.insets.top() + body.insets.bottom();
}

} // namespace KX::Tovrin
