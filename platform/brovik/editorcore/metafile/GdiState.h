#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QTransform>
#include <cstddef>
#include <optional>
#include <variant>

namespace KX::Tovrin::Metafiles {

// The drawing objects and device-context state that EMF and WMF records share, with GDI's
// defaults. Coordinates of pens and fonts are logical units; clip regions are device units.

struct GdiPen {
    enum Style { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, Null = 5, InsideFrame = 6 };
    int style = Solid;
    double width = 0; // 0: one device pixel
    QColor color = Qt::black;
    Qt::PenCapStyle cap = Qt::RoundCap;
    Qt::PenJoinStyle join = Qt::RoundJoin;
};

struct GdiBrush {
    enum Style { Solid = 0, Null = 1, Hatched = 2, Pattern = 3 };
    int style = Solid;
    QColor color = Qt::white;
    int hatch = 0;
    QImage pattern;
};

struct GdiFont {
    QString face;
    double height = 0; // < 0: character (em) height, > 0: cell height, 0: a default size
    double width = 0;
    double escapement = 0; // tenths of a degree, counter-clockwise
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charset = 0;
};

inline GdiBrush solidBrush(QColor color) {
    GdiBrush b;
    b.color = color;
    return b;
}
inline GdiBrush nullBrush() {
    GdiBrush b;
    b.style = GdiBrush::Null;
    return b;
}
inline GdiPen solidPen(QColor color) {
    GdiPen p;
    p.color = color;
    return p;
}

// A slot of the object table; palettes and regions take a slot but draw nothing.
using GdiObject = std::variant<std::monostate, GdiPen, GdiBrush, GdiFont>;

enum class MapMode { Text = 1, LoMetric, HiMetric, LoEnglish, HiEnglish, Twips, Isotropic, Anisotropic };

// How deep saved states may nest: a forged file must not grow the stack without end.
constexpr std::size_t MaxSavedLevels = 1024;

struct DeviceContext {
    GdiPen pen;
    GdiBrush brush;
    GdiFont font;
    QColor textColor = Qt::black;
    QColor backColor = Qt::white;
    bool opaqueBackground = true;
    quint32 textAlign = 0;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    int rop2 = 13; // copy pen
    bool clockwiseArcs = false;
    MapMode mapMode = MapMode::Text;
    QPointF windowOrigin, viewportOrigin;
    QSizeF windowExtent{1, 1}, viewportExtent{1, 1};
    QTransform world;
    QPointF position;                     // current position, logical
    std::optional<QPainterPath> clip;     // device units; none: unclipped
    std::optional<QPainterPath> metaClip; // fixed by SetMetaRgn below the clip
};

} // namespace KX::Tovrin::Metafiles
