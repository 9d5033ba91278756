#include "platform/brovik/editorcore/pptx/DrawingFill.h"

#include "platform/brovik/editorcore/package/XmlPart.h"
#include "platform/brovik/editorcore/pptx/DrawingColor.h"
#include "platform/brovik/editorcore/pptx/OoxmlNames.h"
#include "platform/brovik/editorcore/pptx/PresetPatterns.h"

#include <algorithm>
#include <cmath>

namespace KX::Tovrin {

std::optional<QRectF> readSourceRect(const QDomElement& blipFill) {
    const QDomElement src = firstChild(blipFill, QStringLiteral("srcRect"));
    if (src.isNull())
        return std::nullopt;
    double edges[4];
    const char* names[] = {"l", "t", "r", "b"};
    for (int i = 0; i < 4; ++i) {
        edges[i] = attrDouble(src, QString::fromLatin1(names[i]), 0) / 100000.0;
        // Crops past a hundred times the picture are forged; they would overflow the mapping.
        if (!std::isfinite(edges[i]) || std::abs(edges[i]) > 100)
            return std::nullopt;
    }
    const auto [l, t, r, b] = edges;
    if (1 - l - r <= 0.001 || 1 - t - b <= 0.001)
        return std::nullopt;
    return QRectF(l, t, 1 - l - r, 1 - t - b);
}

namespace {
constexpr double EmuPerPoint = 12700.0;

Fill readGradient(const QDomElement& grad, const DrawingContext& ctx, const QColor& phClr) {
    Fill fill;
    forEachChild(firstChild(grad, QStringLiteral("gsLst")), QStringLiteral("gs"), [&](const QDomElement& gs) {
        if (auto c = readColor(gs, ctx, phClr))
            fill.stops.push_back(
                {std::clamp(attrDouble(gs, QStringLiteral("pos"), 0) / 100000.0, 0.0, 1.0), *c});
    });
    std::stable_sort(fill.stops.begin(), fill.stops.end(),
                     [](const GradientStop& a, const GradientStop& b) { return a.position < b.position; });
    if (fill.stops.empty())
        return fill; // kind None
    if (fill.stops.size() == 1)
        return Fill::solid(fill.stops.front().color);
    const QDomElement path = firstChild(grad, QStringLiteral("path"));
    if (!path.isNull()) {
        fill.kind = Fill::Kind::RadialGradient;
        const QDomElement r = firstChild(path, QStringLiteral("fillToRect"));
        const double l = attrDouble(r, QStringLiteral("l"), 50000) / 100000.0;
        const double t = attrDouble(r, QStringLiteral("t"), 50000) / 100000.0;
        const double rr = attrDouble(r, QStringLiteral("r"), 50000) / 100000.0;
        const double b = attrDouble(r, QStringLiteral("b"), 50000) / 100000.0;
        fill.focus = QPointF(std::clamp((l + 1 - rr) / 2, 0.0, 1.0), std::clamp((t + 1 - b) / 2, 0.0, 1.0));
    } else {
        fill.kind = Fill::Kind::LinearGradient;
        fill.angle = attrDouble(firstChild(grad, QStringLiteral("lin")), QStringLiteral("ang"), 0) / 60000.0;
    }
    return fill;
}

namespace {
// The first tile's corner, edge midpoint or centre named by algn sits on the same point of the
// shape, moved by tx and ty.
void placeTiles(Fill& fill, const QDomElement& tile) {
    const QString align = tile.attribute(QStringLiteral("algn"), QStringLiteral("tl"));
    const double x = align.endsWith(QLatin1Char('l')) ? 0 : align.endsWith(QLatin1Char('r')) ? 1 : 0.5;
    const double y = align.startsWith(QLatin1Char('t')) ? 0 : align.startsWith(QLatin1Char('b')) ? 1 : 0.5;
    fill.tileAlign = QPointF(x, y);
    const auto offset = [&](const char* name) {
        return std::clamp(attrDouble(tile, QLatin1String(name), 0) / EmuPerPoint, -1e5, 1e5);
    };
    fill.tileOffset = QPointF(offset("tx"), offset("ty"));
}
} // namespace

Fill readPictureFill(const QDomElement& blipFill, const DrawingContext& ctx, const QColor& phClr) {
    Fill fill;
    const QDomElement blip = firstChild(blipFill, QStringLiteral("blip"));
    const QString id = attrNS(blip, Ooxml::Relationships, QStringLiteral("embed"));
    fill.picture = ctx.package->picture(ctx.package->target(ctx.part, id));
    if (!fill.picture)
        return fill; // kind None: a missing picture paints nothing
    fill.kind = Fill::Kind::Picture;
    if (const std::optional<QRectF> crop = readSourceRect(blipFill))
        fill.sourceCrop = *crop;
    const QDomElement tile = firstChild(blipFill, QStringLiteral("tile"));
    if (!tile.isNull()) {
        fill.tile = true;
        fill.tileScale = std::clamp(attrDouble(tile, QStringLiteral("sx"), 100000) / 100000.0, 0.01, 100.0) *
                         fill.picture->pointsPerPixel();
        placeTiles(fill, tile);
    }
    forEachChild(blip, QStringLiteral("alphaModFix"), [&](const QDomElement& a) {
        fill.alpha = std::clamp(attrDouble(a, QStringLiteral("amt"), 100000) / 100000.0, 0.0, 1.0);
    });
    fill.recolor = readBlipRecolor(blip, ctx, phClr);
    return fill;
}

// Line patterns as hatching: angle, spacing and line width in points (patterns repeat every
// eight pixels, six points), and the number of crossing sets.
struct LinePattern {
    const char* name;
    double angle, spacing, width;
    int sets;
};
constexpr LinePattern LinePatterns[] = {
    {"horz", 0, 6, 0, 1},          {"ltHorz", 0, 3, 0, 1},         {"dkHorz", 0, 3, 1.5, 1},
    {"narHorz", 0, 1.5, 0, 1},     {"wdHorz", 0, 6, 3, 1},         {"dashHorz", 0, 6, 0, 1},
    {"vert", 90, 6, 0, 1},         {"ltVert", 90, 3, 0, 1},        {"dkVert", 90, 3, 1.5, 1},
    {"narVert", 90, 1.5, 0, 1},    {"wdVert", 90, 6, 3, 1},        {"dashVert", 90, 6, 0, 1},
    {"dnDiag", -45, 4.2, 0, 1},    {"ltDnDiag", -45, 2.1, 0, 1},   {"dkDnDiag", -45, 2.1, 1.5, 1},
    {"wdDnDiag", -45, 4.2, 3, 1},  {"dashDnDiag", -45, 4.2, 0, 1}, {"upDiag", 45, 4.2, 0, 1},
    {"ltUpDiag", 45, 2.1, 0, 1},   {"dkUpDiag", 45, 2.1, 1.5, 1},  {"wdUpDiag", 45, 4.2, 3, 1},
    {"dashUpDiag", 45, 4.2, 0, 1}, {"cross", 0, 6, 0, 2},          {"smGrid", 0, 3, 0, 2},
    {"lgGrid", 0, 6, 0, 2},        {"diagCross", 45, 4.2, 0, 2}};

// Line patterns are hatched, the others repeat their preset bitmap; a name we do not know becomes
// a flat mix of foreground and background, close at viewing distance.
Fill readPattern(const QDomElement& patt, const DrawingContext& ctx, const QColor& phClr) {
    const QColor fg = readColor(firstChild(patt, QStringLiteral("fgClr")), ctx, phClr).value_or(Qt::black);
    const QColor bg = readColor(firstChild(patt, QStringLiteral("bgClr")), ctx, phClr).value_or(Qt::white);
    const QString prst = patt.attribute(QStringLiteral("prst"));
    Fill fill;
    fill.color = bg;
    fill.hatchColor = fg;
    for (const LinePattern& p : LinePatterns) {
        if (prst != QLatin1String(p.name))
            continue;
        fill.kind = Fill::Kind::Hatch;
        fill.hatchAngle = p.angle;
        fill.hatchSpacing = p.spacing;
        fill.hatchWidth = p.width;
        fill.hatchSets = p.sets;
        return fill;
    }
    // A pattern that names no preset is the sparsest one.
    if (const auto bits = presetPatternBits(prst.isEmpty() ? QStringLiteral("pct5") : prst)) {
        fill.kind = Fill::Kind::Pattern;
        fill.patternBits = *bits;
        return fill;
    }
    auto mix = [&](int a, int b) { return int(a * 0.25 + b * 0.75); };
    return Fill::solid(QColor(mix(fg.red(), bg.red()), mix(fg.green(), bg.green()), mix(fg.blue(), bg.blue()),
                              mix(fg.alpha(), bg.alpha())));
}

LineEnd readLineEnd(const QDomElement& e) {
    LineEnd end;
    const QString type = e.attribute(QStringLiteral("type"), QStringLiteral("none"));
    if (type == QLatin1String("triangle"))
        end.kind = LineEnd::Kind::Triangle;
    else if (type == QLatin1String("arrow"))
        end.kind = LineEnd::Kind::Arrow;
    else if (type == QLatin1String("stealth"))
        end.kind = LineEnd::Kind::Stealth;
    else if (type == QLatin1String("diamond"))
        end.kind = LineEnd::Kind::Diamond;
    else if (type == QLatin1String("oval"))
        end.kind = LineEnd::Kind::Oval;
    auto factor = [](const QString& v) {
        return v == QLatin1String("sm") ? 2.0 : v == QLatin1String("lg") ? 5.0 : 3.0;
    };
    end.widthFactor = factor(e.attribute(QStringLiteral("w")));
    end.lengthFactor = factor(e.attribute(QStringLiteral("len")));
    return end;
}

} // namespace

PictureRecolor readBlipRecolor(const QDomElement& blip, const DrawingContext& ctx, const QColor& phClr) {
    PictureRecolor recolor;
    if (!firstChild(blip, QStringLiteral("grayscl")).isNull())
        recolor.kind = PictureRecolor::Kind::Grayscale;
    const QDomElement duotone = firstChild(blip, QStringLiteral("duotone"));
    std::vector<QColor> colours;
    forEachChild(duotone, [&](const QDomElement& c) {
        if (auto colour = readColorElement(c, ctx, phClr))
            colours.push_back(*colour);
    });
    if (colours.size() == 2) {
        recolor.kind = PictureRecolor::Kind::Duotone;
        recolor.dark = colours[0];
        recolor.light = colours[1];
    }
    return recolor;
}

std::optional<Fill> readFillElement(const QDomElement& e, const DrawingContext& ctx, const QColor& phClr) {
    const QString n = e.localName();
    if (n == QLatin1String("noFill"))
        return Fill();
    if (n == QLatin1String("solidFill"))
        return Fill::solid(readColor(e, ctx, phClr).value_or(Qt::black));
    if (n == QLatin1String("gradFill"))
        return readGradient(e, ctx, phClr);
    if (n == QLatin1String("blipFill"))
        return readPictureFill(e, ctx, phClr);
    if (n == QLatin1String("pattFill"))
        return readPattern(e, ctx, phClr);
    if (n == QLatin1String("grpFill"))
        return Fill(); // group fills are rare; drawing nothing beats drawing the wrong thing
    return std::nullopt;
}

std::optional<Fill> readFill(const QDomElement& parent, const DrawingContext& ctx, const QColor& phClr) {
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        if (auto fill = readFillElement(e, ctx, phClr))
            return fill;
    return std::nullopt;
}

Stroke readStroke(const QDomElement& ln, const DrawingContext& ctx, Stroke base, const QColor& phClr) {
    if (ln.isNull())
        return base;
    Stroke s = base;
    if (ln.hasAttribute(QStringLiteral("w")))
        s.width = std::clamp(attrDouble(ln, QStringLiteral("w"), 9525) / EmuPerPoint, 0.0, 500.0);
    const QString cap = ln.attribute(QStringLiteral("cap"));
    if (cap == QLatin1String("rnd"))
        s.cap = Qt::RoundCap;
    else if (cap == QLatin1String("sq"))
        s.cap = Qt::SquareCap;
    else if (cap == QLatin1String("flat"))
        s.cap = Qt::FlatCap;
    if (auto fill = readFill(ln, ctx, phClr)) {
        if (fill->kind == Fill::Kind::None) {
            s.visible = false;
        } else {
            s.visible = true;
            s.color = fill->kind == Fill::Kind::Solid ? fill->color
                      : fill->stops.empty()           ? QColor(Qt::black)
                                                      : fill->stops.front().color;
        }
    }
    const QDomElement dash = firstChild(ln, QStringLiteral("prstDash"));
    if (!dash.isNull()) {
        const QString v = dash.attribute(QStringLiteral("val"));
        if (v == QLatin1String("solid"))
            s.style = Qt::SolidLine;
        else if (v.contains(QLatin1String("DashDotDot")) || v.contains(QLatin1String("dashDotDot")))
            s.style = Qt::DashDotDotLine;
        else if (v.contains(QLatin1String("DashDot")) || v.contains(QLatin1String("dashDot")))
            s.style = Qt::DashDotLine;
        else if (v.contains(QLatin1String("ash")))
            s.style = Qt::DashLine;
        else if (v.contains(QLatin1String("ot")))
            s.style = Qt::DotLine;
    }
    if (!firstChild(ln, QStringLiteral("round")).isNull())
        s.join = Qt::RoundJoin;
    else if (!firstChild(ln, QStringLiteral("bevel")).isNull())
        s.join = Qt::BevelJoin;
    else if (!firstChild(ln, QStringLiteral("miter")).isNull())
        s.join = Qt::MiterJoin;
    const QDomElement head = firstChild(ln, QStringLiteral("headEnd"));
    if (!head.isNull())
        s.head = readLineEnd(head);
    const QDomElement tail = firstChild(ln, QStringLiteral("tailEnd"));
    if (!tail.isNull())
        s.tail = readLineEnd(tail);
    return s;
}

std::optional<Fill> themeFill(int index, const QColor& color, const DrawingContext& ctx) {
    if (ctx.theme == nullptr || index <= 0)
        return std::nullopt;
    const QDomElement list = index >= 1001 ? ctx.theme->bgFillStyles : ctx.theme->fillStyles;
    int n = index >= 1001 ? index - 1000 : index;
    // Pictures in the theme's fills are the theme part's relationships, not the referring part's.
    DrawingContext themeContext = ctx;
    if (!ctx.theme->part.isEmpty())
        themeContext.part = ctx.theme->part;
    for (QDomElement e = list.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        if (--n == 0)
            return readFillElement(e, themeContext, color);
    return std::nullopt;
}

std::optional<Stroke> themeStroke(int index, const QColor& color, const DrawingContext& ctx) {
    if (ctx.theme == nullptr || index <= 0)
        return std::nullopt;
    int n = index;
    for (QDomElement e = ctx.theme->lineStyles.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        if (--n == 0) {
            Stroke s;
            s.visible = true;
            s.color = color;
            return readStroke(e, ctx, s, color);
        }
    return std::nullopt;
}

} // namespace KX::Tovrin
