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
constexpr int AllLines = 100000;    // a paragraph's lines, bounded
constexpr int MaxDefaultTabs = 512; // a forged tab distance must not make millions of stops
constexpr int MaxLayoutPasses = 64; // nor a paragraph of tabs endless layouts

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

// Tab stops count from the paragraph's margin, but Qt measures them from where each line starts.
// A first line that starts elsewhere (after its label, or indented) gets the stops moved by the
// difference, the default ones too, up to just past the line's end.
QList<QTextOption::Tab> tabStops(const Paragraph& p, double firstLineOffset, double width, double distance) {
    QList<QTextOption::Tab> tabs;
    double last = 0;
    for (const double stop : p.tabStops) {
        last = stop * Units;
        if (last > firstLineOffset)
            tabs.append(QTextOption::Tab(last - firstLineOffset, QTextOption::LeftTab));
    }
    if (std::abs(firstLineOffset) < 0.01 || distance <= 0)
        return tabs;
    // A first line that hangs before the margin meets a stop at the margin itself.
    const double firstDefault = p.tabStops.empty() ? 0 : (std::floor(last / distance) + 1) * distance;
    for (int k = 0; k < MaxDefaultTabs; ++k) {
        const double stop = firstDefault + k * distance;
        if (stop - firstLineOffset > width + distance)
            break;
        if (stop > firstLineOffset)
            tabs.append(QTextOption::Tab(stop - firstLineOffset, QTextOption::LeftTab));
    }
    return tabs;
}

struct LaidParagraph {
    std::unique_ptr<QTextLayout> layout;
    std::unique_ptr<QTextLayout> rest; // the later lines, when their tab stops differ from the first's
    double height = 0;                 // units, without spacing around
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

// Text laid out in one QTextLayout, with a format range per run.
struct Segment {
    QString text;
    QVector<QTextLayout::FormatRange> formats;
};

// The paragraph's text with a format range for each run.
Segment paragraphText(const Paragraph& p, double scale) {
    Segment seg;
    QString& text = seg.text;
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
        seg.formats.push_back(range);
    }
    return seg;
}

QTextOption paragraphOption(const Paragraph& p, const TextBody& body, double scale, double firstLineOffset,
                            double width) {
    QTextOption option;
    option.setAlignment(p.align == Paragraph::Align::Center    ? Qt::AlignHCenter
                        : p.align == Paragraph::Align::Right   ? Qt::AlignRight
                        : p.align == Paragraph::Align::Justify ? Qt::AlignJustify
                                                               : Qt::AlignLeft);
    option.setWrapMode(body.wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    const double distance = (p.tabDistance > 0 ? p.tabDistance : 72) * Units * scale;
    option.setTabStopDistance(distance);
    if (!p.tabStops.empty() || std::abs(firstLineOffset) >= 0.01)
        option.setTabs(tabStops(p, firstLineOffset, width, distance));
    option.setUseDesignMetrics(true);
    return option;
}

// Sets up the paragraph's label; returns where its first line's text starts.
double placeBullet(LaidParagraph& lp, const Paragraph& p, const TextRun& firstRun, double scale) {
    const double marginLeft = p.marginLeft * Units;
    const double bulletX = std::max(0.0, marginLeft + p.indent * Units);
    if (p.bullet.text.isEmpty())
        return marginLeft + p.indent * Units;
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
    if (p.bullet.minWidth >= 0)
        return std::max(bulletX + p.bullet.minWidth * Units, bulletEnd);
    return std::max(marginLeft, bulletEnd);
}

// Where a line ends in a tab whose stop lies past the line's end, or -1. Qt lets such a tab hang
// at the end like a space; the authoring program moves it, and the text after it, to the next line.
int overhangingTab(const QTextLine& line, const QString& text, double available) {
    const int end = line.textStart() + line.textLength();
    // Qt stops the tab at the line's end; measured from the line's own start, so that aligning
    // the line to the right does not count.
    if (line.textLength() > 1 && end <= text.size() && text.at(end - 1) == QLatin1Char('\t') &&
        line.cursorToX(end) - line.cursorToX(line.textStart()) >= available - 0.5)
        return end - 1;
    return -1;
}

struct LineGeometry {
    double firstX, marginLeft, marginRight, width, scale, spacingFactor;
};

// Where a layout's lines go: from y down, at most maxLines of them; the first at firstX, the
// paragraph's first line (its baseline is the label's) when first is set, later ones at the margin.
struct LineSpan {
    double y = 0;
    double firstX = 0;
    bool first = true;
    int maxLines = AllLines;
};

// Lays out the segment's lines in layout. With moveTabs, stops at the first tab that must start a
// new line and returns where it is (the layout is then to be made again); otherwise, and when
// there is none, lays out every line and returns -1. y ends below the last line.
int layLines(QTextLayout& layout, LaidParagraph& lp, const Paragraph& p, const TextBody& body,
             const Segment& seg, const LineGeometry& g, LineSpan span, bool moveTabs, double& y,
             double& widest) {
    double x = std::max(0.0, span.firstX);
    y = span.y;
    int breakAt = -1;
    layout.beginLayout();
    for (int lineNo = 0; lineNo < span.maxLines && breakAt < 0; ++lineNo) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        const double available = std::max(Units, g.width - x - g.marginRight);
        line.setLineWidth(available);
        if (moveTabs)
            breakAt = overhangingTab(line, seg.text, available);
        // Single spacing is the font's ascent plus descent, its line gap left out (or 1.2 em,
        // see sizeBasedLines); extra spacing goes above the line, the baseline keeps its foot.
        const LineMetrics metrics = lineMetrics(line, seg.formats, layout.font());
        const double natural = body.sizeBasedLines ? 1.2 * metrics.size : metrics.ascent + metrics.descent;
        const double descent = body.sizeBasedLines ? 0.2 * metrics.size : metrics.descent;
        double lineHeight = p.exactLineHeight > 0 ? p.exactLineHeight * Units * g.scale
                                                  : natural * p.lineSpacing * g.spacingFactor;
        const double baseline = y + lineHeight - descent;
        line.setPosition(QPointF(x, baseline - line.ascent()));
        if (lineNo == 0 && span.first)
            lp.firstBaseline = baseline;
        widest = std::max(widest, x + line.naturalTextWidth());
        y += lineHeight;
        x = std::max(0.0, g.marginLeft);
    }
    layout.endLayout();
    return breakAt;
}

// A line break before the character at index, the format ranges moved along.
void breakBefore(Segment& seg, int index) {
    seg.text.insert(index, QChar(QChar::LineSeparator));
    for (QTextLayout::FormatRange& range : seg.formats) {
        if (range.start >= index)
            ++range.start;
        else if (range.start + range.length > index)
            ++range.length;
    }
}

// The part of the segment from index on.
Segment tailOf(const Segment& seg, int index) {
    Segment tail{seg.text.mid(index), {}};
    for (QTextLayout::FormatRange range : seg.formats) {
        const int end = range.start + range.length;
        if (end <= index)
            continue;
        range.start = std::max(0, range.start - index);
        range.length = end - index - range.start;
        tail.formats.push_back(range);
    }
    return tail;
}

// Lays the segment out in layout, a tab that overhangs its line moved to the next: a pass per
// moved tab, within bounds; the last pass lays out whatever remains as it falls. Returns the y
// below its last line.
double laySegment(std::unique_ptr<QTextLayout>& layout, LaidParagraph& lp, const Paragraph& p,
                  const TextBody& body, const TextRun& firstRun, Segment& seg, const LineGeometry& g,
                  double tabOffset, LineSpan span, double& widest) {
    const int passes = std::min(int(seg.text.count(QLatin1Char('\t'))) + 1, MaxLayoutPasses);
    double y = span.y;
    for (int pass = 0; pass < passes; ++pass) {
        layout = std::make_unique<QTextLayout>(seg.text, makeFont(firstRun, g.scale));
        layout->setFormats(seg.formats);
        layout->setTextOption(paragraphOption(p, body, g.scale, tabOffset, g.width));
        layout->setCacheEnabled(true);
        double lineWidest = widest;
        const int breakAt = layLines(*layout, lp, p, body, seg, g, span, pass < passes - 1, y, lineWidest);
        if (breakAt < 0) {
            widest = lineWidest;
            return y;
        }
        breakBefore(seg, breakAt);
    }
    return y;
}

// Lays the paragraph out. Qt counts tab stops from where each line starts, but they belong to the
// paragraph's margin, which only the first line leaves (after its label, or indented). So a
// first line that starts elsewhere and holds a tab gets stops moved by the difference, in a
// layout of its own when later lines hold tabs too.
void layParagraph(LaidParagraph& lp, const Paragraph& p, const TextBody& body, const TextRun& firstRun,
                  Segment seg, const LineGeometry& g, double& widest) {
    const double offset = std::max(0.0, g.firstX) - std::max(0.0, g.marginLeft);
    const LineSpan all{0, g.firstX, true, AllLines};
    const int firstTab = int(seg.text.indexOf(QLatin1Char('\t')));
    if (firstTab < 0 || std::abs(offset) < 0.01) {
        lp.height = laySegment(lp.layout, lp, p, body, firstRun, seg, g, 0, all, widest);
        return;
    }
    Segment whole = seg;
    const double firstEndY =
        laySegment(lp.layout, lp, p, body, firstRun, seg, g, offset, {0, g.firstX, true, 1}, widest);
    const QTextLine firstLine = lp.layout->lineAt(0);
    const int firstEnd =
        firstLine.isValid() ? firstLine.textStart() + firstLine.textLength() : int(seg.text.size());
    if (firstTab >= firstEnd) { // only later lines hold tabs: their own stops serve
        lp.height = laySegment(lp.layout, lp, p, body, firstRun, whole, g, 0, all, widest);
    } else if (seg.text.indexOf(QLatin1Char('\t'), firstEnd) < 0) {
        lp.height = laySegment(lp.layout, lp, p, body, firstRun, whole, g, offset, all, widest);
    } else {
        Segment rest = tailOf(seg, firstEnd);
        lp.height = laySegment(lp.rest, lp, p, body, firstRun, rest, g, 0,
                               {firstEndY, g.marginLeft, false, AllLines}, widest);
    }
}

Layout layoutBody(const TextBody& body, double width, double scale) {
    Layout result;
    double y = 0;
    bool first = true;
    for (const Paragraph& p : body.paragraphs) {
        LaidParagraph lp;
        const TextRun& firstRun = p.runs.empty() ? p.endFormat : p.runs.front();
        const LineGeometry geometry{
            placeBullet(lp, p, firstRun, scale), p.marginLeft * Units, p.marginRight * Units, width, scale,
            1.0 - body.spacingReduction};
        layParagraph(lp, p, body, firstRun, paragraphText(p, scale), geometry, result.width);
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
        if (p.rest)
            p.rest->draw(&painter, QPointF(x, y));
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
