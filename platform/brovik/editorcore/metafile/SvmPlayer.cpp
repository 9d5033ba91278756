#include "platform/brovik/editorcore/metafile/SvmPlayer.h"

#include "platform/brovik/editorcore/metafile/Dib.h"
#include "platform/brovik/editorcore/metafile/GdiCanvas.h"
#include "platform/brovik/editorcore/metafile/RecordReader.h"

#include <vector>

namespace KX::Tovrin::Metafiles {

namespace {

constexpr int MaxRecords = 2'000'000;
constexpr quint16 UnicodeCharset = 0xFFFF, Utf8Charset = 76;
constexpr qint32 EmptyEdge = -32767; // a rectangle's right or bottom edge when it is empty
constexpr quint32 SourceCopy = 0x00CC0020;

enum Action : quint16 {
    Line = 102,
    Rect = 103,
    RoundRect = 104,
    Ellipse = 105,
    Arc = 106,
    Pie = 107,
    Chord = 108,
    Polyline = 109,
    Polygon = 110,
    PolyPolygon = 111,
    Text = 112,
    TextArray = 113,
    StretchText = 114,
    TextRect = 115,
    Bmp = 116,
    BmpScale = 117,
    BmpScalePart = 118,
    BmpEx = 119,
    BmpExScale = 120,
    BmpExScalePart = 121,
    ClipRegion = 128,
    IntersectRectClip = 129,
    MoveClipRegion = 131,
    LineColor = 132,
    FillColor = 133,
    TextColor = 134,
    TextFillColor = 135,
    TextAlign = 136,
    MapModeAction = 137,
    Font = 138,
    Push = 139,
    Pop = 140,
    Transparent = 142
};

enum PushFlag : quint16 {
    PushLineColor = 0x1,
    PushFillColor = 0x2,
    PushFont = 0x4,
    PushTextColor = 0x8,
    PushMapMode = 0x10,
    PushClip = 0x20,
    PushTextFillColor = 0x80,
    PushTextAlign = 0x100
};

// Sequential reads through one record; past its end every field reads as zero.
class Cursor {
public:
    explicit Cursor(RecordReader r) : _r(r) {}

    bool has(qsizetype bytes) const { return _r.has(_at, bytes); }
    bool hasArray(quint64 count, qsizetype itemSize) const { return _r.hasArray(_at, count, itemSize); }
    void skip(qsizetype bytes) { _at += bytes; }
    qsizetype at() const { return _at; }
    RecordReader take(qsizetype bytes) {
        const RecordReader r = _r.sub(_at, bytes);
        _at += bytes;
        return r;
    }

    quint8 u8() { return _r.u8(std::exchange(_at, _at + 1)); }
    quint16 u16() { return _r.u16(std::exchange(_at, _at + 2)); }
    quint32 u32() { return _r.u32(std::exchange(_at, _at + 4)); }
    qint32 i32() { return _r.i32(std::exchange(_at, _at + 4)); }
    QPointF point() {
        const double x = i32();
        return QPointF(x, i32());
    }
    QSizeF size() {
        const double w = i32();
        return QSizeF(w, i32());
    }
    QRectF rect() {
        const qint32 left = i32(), top = i32(), right = i32(), bottom = i32();
        if (right == EmptyEdge || bottom == EmptyEdge)
            return QRectF(left, top, 0, 0);
        // Edges are inclusive, as pixels are counted.
        return QRectF(QPointF(left, top), QPointF(right + 1.0, bottom + 1.0)).normalized();
    }
    QColor color() {
        const quint32 v = u32();
        return QColor(int(v >> 16 & 255), int(v >> 8 & 255), int(v & 255), 255 - int(v >> 24));
    }
    // A string in the stream's character set: 16-bit units after a 32-bit count in Unicode,
    // bytes after a 16-bit count otherwise.
    QString string(quint16 charset) {
        if (charset == UnicodeCharset) {
            const quint32 n = u32();
            return units(n);
        }
        const quint16 n = u16();
        if (!has(n))
            return QString();
        const RecordReader bytes = take(n);
        const QByteArray raw(bytes.data(), bytes.size());
        return charset == Utf8Charset ? QString::fromUtf8(raw) : decodeAnsiText(raw, 0);
    }
    QString unicodeString() { return units(u16()); }

private:
    QString units(quint32 n) {
        if (!hasArray(n, 2))
            return QString();
        QString s;
        s.reserve(int(n));
        for (quint32 i = 0; i < n; ++i)
            s.append(QChar(u16()));
        return s;
    }

    RecordReader _r;
    qsizetype _at = 0;
};

// The logical-to-millimetre mapping of one map mode: p → (p + origin) × scale × unit.
struct MapState {
    double unit = 1; // hundredths of a millimetre per unit
    QPointF origin;
    QPointF scale{1, 1};

    QTransform transform() const {
        return QTransform::fromTranslate(origin.x(), origin.y()) *
               QTransform::fromScale(scale.x() * unit, scale.y() * unit);
    }
};

double fraction(Cursor& c) {
    const double numerator = c.i32(), denominator = c.i32();
    return denominator != 0 ? numerator / denominator : 1;
}

// A map mode record; a relative one moves and scales the current mapping.
MapState readMapMode(Cursor& c, const MapState& current) {
    static const double hundredthsOfMm[] = {1,   10,   100,         1000,          2.54,       25.4,
                                            254, 2540, 2540 / 72.0, 2540 / 1440.0, 2540 / 96.0};
    constexpr quint16 Relative = 13;
    c.skip(6); // version and length
    const quint16 unit = c.u16();
    const QPointF origin = c.point();
    const double sx = fraction(c), sy = fraction(c);
    c.skip(1);
    MapState m = current;
    if (unit == Relative) {
        m.origin += origin;
        m.scale = QPointF(m.scale.x() * sx, m.scale.y() * sy);
    } else {
        m.unit = unit < std::size(hundredthsOfMm) ? hundredthsOfMm[unit] : 1;
        m.origin = origin;
        m.scale = QPointF(sx, sy);
    }
    return m;
}

// A run of points; with flags, control points make cubic segments.
QPainterPath readPolygon(Cursor& c, bool withFlags, bool closed) {
    const quint16 n = c.u16();
    QPainterPath path;
    if (!c.hasArray(n, 8))
        return path;
    QPolygonF points;
    for (quint16 i = 0; i < n; ++i)
        points << c.point();
    std::vector<quint8> flags;
    if (withFlags && c.u8() != 0 && c.has(n))
        for (quint16 i = 0; i < n; ++i)
            flags.push_back(c.u8());
    if (points.isEmpty())
        return path;
    constexpr quint8 Control = 2;
    path.moveTo(points[0]);
    for (qsizetype i = 1; i < points.size(); ++i) {
        if (!flags.empty() && i + 2 < points.size() && flags[size_t(i)] == Control &&
            flags[size_t(i + 1)] == Control) {
            path.cubicTo(points[i], points[i + 1], points[i + 2]);
            i += 2;
        } else {
            path.lineTo(points[i]);
        }
    }
    if (closed)
        path.closeSubpath();
    return path;
}

QVector<QPainterPath> readPolyPolygon(Cursor& c, quint16 version) {
    const quint16 count = c.u16();
    QVector<QPainterPath> polygons;
    for (quint16 i = 0; i < count && c.has(2); ++i)
        polygons.push_back(readPolygon(c, false, true));
    if (version >= 2) { // polygons with curves replace their straight versions
        const quint16 complex = c.u16();
        for (quint16 i = 0; i < complex && c.has(4); ++i) {
            const quint16 index = c.u16();
            QPainterPath curved = readPolygon(c, true, true);
            if (index < polygons.size())
                polygons[index] = std::move(curved);
        }
    }
    return polygons;
}

// A bitmap stored as a BMP file; null (and the cursor at the end) when it is not one.
QImage readBitmap(Cursor& c) {
    if (!c.has(14) || c.u16() != 0x4D42) {
        c.skip(1 << 30);
        return QImage();
    }
    const quint32 fileSize = c.u32();
    c.skip(8);
    if (fileSize < 14 || !c.has(qsizetype(fileSize) - 14)) {
        c.skip(1 << 30);
        return QImage();
    }
    return decodePackedDib(c.take(qsizetype(fileSize) - 14));
}

// A bitmap with an optional mask (white is transparent) or alpha channel (255 is transparent).
QImage readBitmapEx(Cursor& c) {
    QImage image = readBitmap(c);
    if (image.isNull() || !c.has(9) || c.u32() != 0x25091962u || c.u32() != 0xACB20201u)
        return image;
    constexpr quint8 MaskBitmap = 2;
    if (c.u8() != MaskBitmap)
        return image;
    const QImage mask = readBitmap(c).convertToFormat(QImage::Format_Grayscale8);
    if (mask.size() != image.size())
        return image;
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        const uchar* m = mask.constScanLine(y);
        for (int x = 0; x < image.width(); ++x)
            row[x] = qRgba(qRed(row[x]), qGreen(row[x]), qBlue(row[x]), 255 - m[x]);
    }
    return image;
}

int gdiWeight(quint16 weight) {
    static const int weights[] = {400, 100, 200, 300, 350, 400, 500, 600, 700, 800, 900};
    return weight < std::size(weights) ? weights[weight] : 400;
}

// The drawing state of a StarView metafile over the GDI canvas: colours live here and become
// the canvas's pen and brush for each primitive; the map mode becomes its world transform.
class SvmPlayer {
public:
    SvmPlayer(GdiCanvas& canvas, const MapState& map) : _canvas(canvas), _map(map) {
        _canvas.dc().textAlign = baselineAlign();
        _canvas.dc().opaqueBackground = false;
        _canvas.dc().world = _map.transform();
    }

    void play(quint16 type, quint16 version, Cursor c);

private:
    bool draw(quint16 type, quint16 version, Cursor& c);
    void change(quint16 type, Cursor& c);
    void arcRecord(quint16 type, Cursor& c);
    void transparentRecord(Cursor& c);
    struct Saved {
        quint16 flags;
        DeviceContext dc;
        MapState map;
        std::optional<QColor> line, fill;
        quint16 charset;
    };

    static quint32 baselineAlign() { return 24; }
    void shape(const QPainterPath& path, bool closed, double lineWidth = 0);
    void shapes(const QVector<QPainterPath>& polygons);
    void lineRecord(Cursor& c, quint16 version, QPainterPath path);
    void text(QPointF at, const QString& whole, quint16 index, quint16 length, const QVector<double>& ends);
    void textRecord(quint16 type, quint16 version, Cursor& c);
    void bitmapRecord(quint16 type, Cursor& c);
    void font(Cursor& c);
    void push(quint16 flags);
    void pop();

    GdiCanvas& _canvas;
    MapState _map;
    std::optional<QColor> _line = QColor(Qt::black), _fill = QColor(Qt::white);
    quint16 _charset = 1;
    std::vector<Saved> _saved;
};

void SvmPlayer::shape(const QPainterPath& path, bool closed, double lineWidth) {
    DeviceContext& dc = _canvas.dc();
    dc.pen = _line ? solidPen(*_line) : GdiPen{GdiPen::Null};
    dc.pen.width = lineWidth;
    dc.brush = _fill && closed ? solidBrush(*_fill) : nullBrush();
    _canvas.shape(path, closed);
}

void SvmPlayer::shapes(const QVector<QPainterPath>& polygons) {
    QPainterPath all;
    all.setFillRule(Qt::OddEvenFill);
    for (const QPainterPath& p : polygons)
        all.addPath(p);
    shape(all, true);
}

// A line's own style and width follow its points in later versions.
void SvmPlayer::lineRecord(Cursor& c, quint16 version, QPainterPath path) {
    double width = 0;
    bool visible = true;
    if (version >= 2 && c.has(12)) {
        c.skip(2);
        const quint32 length = c.u32();
        Cursor info = c;
        visible = info.u16() != 0;
        width = info.i32();
        c.skip(qsizetype(length));
    }
    if (version >= 3 && c.has(3)) {
        Cursor curved = c;
        if (curved.u8() != 0) {
            const QPainterPath withCurves = readPolygon(curved, true, false);
            if (!withCurves.isEmpty())
                path = withCurves;
        }
    }
    const std::optional<QColor> fill = std::exchange(_fill, std::nullopt);
    if (visible)
        shape(path, false, width);
    _fill = fill;
}

void SvmPlayer::text(QPointF at, const QString& whole, quint16 index, quint16 length,
                     const QVector<double>& ends) {
    if (index >= whole.size())
        return;
    GdiCanvas::TextRun run;
    run.reference = at;
    run.text = whole.mid(index, length);
    // Positions are where each character after the first starts; the canvas wants advances.
    if (ends.size() >= run.text.size())
        for (qsizetype i = 0; i < run.text.size(); ++i)
            run.advances.push_back(ends[i] - (i > 0 ? ends[i - 1] : 0));
    _canvas.text(run);
}

void SvmPlayer::textRecord(quint16 type, quint16 version, Cursor& c) {
    QRectF box;
    QPointF at;
    if (type == TextRect)
        box = c.rect();
    else
        at = c.point();
    QString s = c.string(_charset);
    quint16 index = 0, length = 0xFFFF;
    QVector<double> ends;
    if (type == TextRect) {
        c.skip(2); // style
    } else {
        if (type == StretchText)
            c.skip(4); // width
        index = c.u16();
        length = c.u16();
        if (type == TextArray) {
            const quint32 n = c.u32();
            if (c.hasArray(n, 4))
                for (quint32 i = 0; i < n; ++i)
                    ends.push_back(c.i32());
        }
    }
    if (version >= 2 && c.has(2)) { // the text again in UTF-16, exact whatever the character set
        const QString unicode = c.unicodeString();
        if (!unicode.isEmpty())
            s = unicode;
    }
    if (type != TextRect) {
        text(at, s, index, length, ends);
        return;
    }
    const quint32 align = std::exchange(_canvas.dc().textAlign, 0);
    text(box.topLeft(), s, 0, 0xFFFF, {});
    _canvas.dc().textAlign = align;
}

void SvmPlayer::bitmapRecord(quint16 type, Cursor& c) {
    const bool ex = type >= BmpEx;
    const QImage image = ex ? readBitmapEx(c) : readBitmap(c);
    if (image.isNull())
        return;
    const quint16 kind = ex ? quint16(type - (BmpEx - Bmp)) : type;
    const QPointF at = c.point();
    QRectF source(QPointF(0, 0), image.size());
    QSizeF size = source.size() * 2540 / 96 / _map.unit; // a bitmap without a size is 96 dpi
    if (kind != Bmp)
        size = c.size();
    if (kind == BmpScalePart) {
        const QPointF from = c.point();
        source = QRectF(from, c.size());
    }
    _canvas.bitmap(QRectF(at, size), image, source, SourceCopy);
}

void SvmPlayer::font(Cursor& c) {
    c.skip(6); // version and length
    GdiFont f;
    f.face = c.string(Utf8Charset);
    c.string(Utf8Charset); // style name
    const QSizeF size = c.size();
    f.width = size.width();
    f.height = -std::abs(size.height()); // the em height
    const quint16 charset = c.u16();
    c.skip(4); // family, pitch
    f.weight = gdiWeight(c.u16());
    f.underline = c.u16() != 0;
    f.strikeOut = c.u16() != 0;
    f.italic = c.u16() != 0;
    c.skip(4); // language, width class
    f.escapement = qint16(c.u16());
    _canvas.dc().font = f;
    _charset = charset;
}

void SvmPlayer::push(quint16 flags) {
    if (_saved.size() < MaxSavedLevels)
        _saved.push_back({flags, _canvas.dc(), _map, _line, _fill, _charset});
}

// Only what the push named comes back.
void SvmPlayer::pop() {
    if (_saved.empty())
        return;
    Saved s = std::move(_saved.back());
    _saved.pop_back();
    DeviceContext& dc = _canvas.dc();
    if (s.flags & PushLineColor)
        _line = s.line;
    if (s.flags & PushFillColor)
        _fill = s.fill;
    if (s.flags & PushFont) {
        dc.font = s.dc.font;
        _charset = s.charset;
    }
    if (s.flags & PushTextColor)
        dc.textColor = s.dc.textColor;
    if (s.flags & PushMapMode) {
        _map = s.map;
        dc.world = _map.transform();
    }
    if (s.flags & PushClip)
        dc.clip = s.dc.clip;
    if (s.flags & PushTextFillColor) {
        dc.opaqueBackground = s.dc.opaqueBackground;
        dc.backColor = s.dc.backColor;
    }
    if (s.flags & PushTextAlign)
        dc.textAlign = s.dc.textAlign;
}

void SvmPlayer::arcRecord(quint16 type, Cursor& c) {
    const QRectF box = c.rect();
    const QPointF start = c.point(), end = c.point();
    DeviceContext& dc = _canvas.dc();
    dc.pen = _line ? solidPen(*_line) : GdiPen{GdiPen::Null};
    dc.brush = _fill && type != Arc ? solidBrush(*_fill) : nullBrush();
    _canvas.arc(box, start, end,
                type == Arc   ? GdiCanvas::ArcKind::Arc
                : type == Pie ? GdiCanvas::ArcKind::Pie
                              : GdiCanvas::ArcKind::Chord);
}

// Polygons filled see-through by a percentage, without outline.
void SvmPlayer::transparentRecord(Cursor& c) {
    const QVector<QPainterPath> polygons = readPolyPolygon(c, 2);
    const int percent = std::clamp(int(c.u16()), 0, 100);
    const std::optional<QColor> line = _line, fill = _fill;
    if (_fill)
        _fill->setAlphaF(_fill->alphaF() * (100 - percent) / 100.0);
    _line.reset();
    shapes(polygons);
    _line = line;
    _fill = fill;
}

// Records that draw; false for any other.
bool SvmPlayer::draw(quint16 type, quint16 version, Cursor& c) {
    switch (type) {
    case Line: {
        QPainterPath p;
        p.moveTo(c.point());
        p.lineTo(c.point());
        lineRecord(c, version, p);
        return true;
    }
    case Rect:
        shape(
            [&] {
                QPainterPath p;
                p.addRect(c.rect());
                return p;
            }(),
            true);
        return true;
    case RoundRect: {
        const QRectF r = c.rect();
        const double rx = c.u32(), ry = c.u32();
        QPainterPath p;
        p.addRoundedRect(r, rx, ry);
        shape(p, true);
        return true;
    }
    case Ellipse: {
        QPainterPath p;
        p.addEllipse(c.rect());
        shape(p, true);
        return true;
    }
    case Arc:
    case Pie:
    case Chord:
        arcRecord(type, c);
        return true;
    case Polyline:
        lineRecord(c, version, readPolygon(c, false, false));
        return true;
    case Polygon: {
        QPainterPath p = readPolygon(c, false, true);
        if (version >= 2 && c.u8() != 0) {
            QPainterPath curved = readPolygon(c, true, true);
            if (!curved.isEmpty())
                p = curved;
        }
        shape(p, true);
        return true;
    }
    case PolyPolygon:
        shapes(readPolyPolygon(c, version));
        return true;
    case Transparent:
        transparentRecord(c);
        return true;
    case Text:
    case TextArray:
    case StretchText:
    case TextRect:
        textRecord(type, version, c);
        return true;
    case Bmp:
    case BmpScale:
    case BmpScalePart:
    case BmpEx:
    case BmpExScale:
    case BmpExScalePart:
        bitmapRecord(type, c);
        return true;
    default:
        return false;
    }
}

// Records that change the state later drawing uses.
void SvmPlayer::change(quint16 type, Cursor& c) {
    DeviceContext& dc = _canvas.dc();
    switch (type) {
    case ClipRegion: {
        // Regions are kept as bands; only switching the clip off is followed.
        c.skip(2);
        c.skip(qsizetype(c.u32()));
        if (c.u8() == 0)
            dc.clip.reset();
        break;
    }
    case IntersectRectClip:
        _canvas.intersectClipRect(c.rect());
        break;
    case MoveClipRegion:
        _canvas.offsetClip(c.point());
        break;
    case LineColor:
    case FillColor: {
        const QColor color = c.color();
        (type == LineColor ? _line : _fill) = c.u8() != 0 ? std::optional<QColor>(color) : std::nullopt;
        break;
    }
    case TextColor:
        dc.textColor = c.color();
        break;
    case TextFillColor:
        dc.backColor = c.color();
        dc.opaqueBackground = c.u8() != 0 && dc.backColor.alpha() > 0;
        break;
    case TextAlign: {
        constexpr quint32 gdiAlign[] = {0, 24, 8}; // top, baseline, bottom
        const quint16 align = c.u16();
        dc.textAlign = align < 3 ? gdiAlign[align] : baselineAlign();
        break;
    }
    case MapModeAction:
        _map = readMapMode(c, _map);
        dc.world = _map.transform();
        break;
    case Font:
        font(c);
        break;
    case Push:
        push(c.u16());
        break;
    case Pop:
        pop();
        break;
    default:
        break; // comments, raster operations, layout and language hints draw nothing
    }
}

void SvmPlayer::play(quint16 type, quint16 version, Cursor c) {
    if (!draw(type, version, c))
        change(type, c);
}

} // namespace

std::optional<SvmHeader> readSvmHeader(const QByteArray& bytes) {
    if (!bytes.startsWith("VCLMTF"))
        return std::nullopt;
    const RecordReader file(bytes.constData(), bytes.size());
    Cursor c(file.sub(6, file.size() - 6));
    c.skip(2); // version
    const quint32 length = c.u32();
    if (c.u32() != 0) // compressed pictures are not written any more
        return std::nullopt;
    const MapState map = readMapMode(c, MapState());
    const QSizeF size = c.size();
    SvmHeader h;
    h.actions = c.u32();
    h.mapping = map.transform();
    h.frame = h.mapping.mapRect(QRectF(QPointF(0, 0), size));
    h.firstRecord = 12 + qsizetype(length);
    if (!(h.frame.width() > 0) || !(h.frame.height() > 0) || !file.has(h.firstRecord, 0))
        return std::nullopt;
    return h;
}

void playSvm(const QByteArray& bytes, const SvmHeader& header, QPainter& painter, const QRectF& target) {
    const QRectF& frame = header.frame;
    const QTransform toTarget = frameToTarget(frame, target);
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    {
        // Device units are hundredths of a millimetre.
        GdiCanvas canvas(painter, toTarget, QSizeF(100, 100), GdiCanvas::Mapping::Modes);
        const RecordReader file(bytes.constData(), bytes.size());
        Cursor start(file.sub(6, file.size() - 6));
        start.skip(10); // version, length, compression
        SvmPlayer player(canvas, readMapMode(start, MapState()));
        qsizetype at = header.firstRecord;
        for (quint32 n = 0; n < header.actions && n < MaxRecords && file.has(at, 8); ++n) {
            const quint16 type = file.u16(at), version = file.u16(at + 2);
            const quint32 length = file.u32(at + 4);
            if (!file.has(at + 8, qsizetype(length)))
                break;
            player.play(type, version, Cursor(file.sub(at + 8, qsizetype(length))));
            at += 8 + qsizetype(length);
        }
    }
    painter.restore();
}

} // namespace KX::Tovrin::Metafiles
