#pragma once

#include <QColor>
#include <QMarginsF>
#include <QString>
#include <vector>

namespace KX::Tovrin {

// One stretch of uniformly formatted text. Sizes in points; text already has line breaks as
// U+2028 and tabs as '\t'.
struct TextRun {
    QString text;
    QString family = QStringLiteral("DejaVu Sans");
    double size = 18;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    double baselineShift = 0; // fraction of the size, positive is superscript
    QColor color = Qt::black;
    QColor outlineColor;     // valid: the glyphs are outlined with this colour
    double outlineWidth = 0; // points
    QColor highlight;        // valid: painted behind the run's characters
};

struct Bullet {
    QString text; // already resolved: a character or a formatted number; empty for none
    QString family;
    double sizeFactor = 1; // relative to the first run's size
    QColor color;          // invalid: the first run's colour
    // Where the label sits: on the text's baseline, or centred on the middle of the text's line
    // box, with its own line box (a label smaller than its text rises) or with its glyph's ink
    // (for symbols drawn by a stand-in font whose glyphs sit elsewhere in their boxes).
    enum class Placement { Baseline, CentredBox, CentredGlyph };
    Placement placement = Placement::Baseline;
    // Where the first line's text starts: at the paragraph's margin, the label hanging before it
    // (< 0, as DrawingML sets it), or this many points past the label's start or right after the
    // label if it is wider (ODF's minimum label width).
    double minWidth = -1;
};

struct Paragraph {
    enum class Align { Left, Center, Right, Justify };
    Align align = Align::Left;
    double marginLeft = 0; // points, from the text box's left inset
    double indent = 0;     // first line offset relative to marginLeft (negative hangs the bullet)
    double marginRight = 0;
    // Line spacing: proportional (1.0 is single) unless exactLineHeight > 0 (points).
    double lineSpacing = 1.0;
    double exactLineHeight = 0;
    double spaceBefore = 0; // points
    double spaceAfter = 0;
    // Tab stops in points from the paragraph's margin (left-aligned); past the last one, or
    // without any, tabs advance by tabDistance (0: the renderer's one inch).
    std::vector<double> tabStops;
    double tabDistance = 0;
    Bullet bullet;
    std::vector<TextRun> runs;
    TextRun endFormat; // size and font of an empty paragraph
};

struct TextBody {
    enum class Anchor { Top, Middle, Bottom };
    QMarginsF insets{7.2, 3.6, 7.2, 3.6}; // points
    Anchor anchor = Anchor::Top;
    bool anchorCenter = false; // the block of text centred horizontally as a whole
    bool wrap = true;
    double fontScale = 1;        // autofit factor decided by the authoring program
    double spacingReduction = 0; // autofit: fraction taken off proportional line spacing
    bool shrinkToFit = false;    // the renderer shrinks further when the text overflows
    // The scale fitted the text in the author's fonts: shrink further only where substitutes
    // for them run wider than the originals.
    bool fittedByAuthor = false;
    double rotation = 0; // extra text rotation (vertical text), degrees
    // Single spacing is 1.2 times the font size with the baseline a fifth of the size above the
    // line's foot, whatever the font declares (how presentation programs space DrawingML text);
    // otherwise the font's own ascent plus descent, its line gap left out.
    bool sizeBasedLines = false;
    std::vector<Paragraph> paragraphs;

    bool hasVisibleText() const {
        for (const auto& p : paragraphs)
            for (const auto& r : p.runs)
                if (!r.text.trimmed().isEmpty())
                    return true;
        return false;
    }
};

} // namespace KX::Tovrin
