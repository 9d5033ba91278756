#include "platform/brovik/editorcore/metafile/WmfPlayer.h"

#include "platform/brovik/editorcore/metafile/Dib.h"
#include "platform/brovik/editorcore/metafile/GdiCanvas.h"
#include "platform/brovik/editorcore/metafile/RecordReader.h"

namespace KX::Tovrin::Metafiles {

namespace {
constexpr quint32 PlaceableKey = 0x9AC6CDD7;
constexpr int MaxRecords = 2'000'000;

enum Function : quint16 {
    Eof = 0x0000,
    SaveDc = 0x001E,
    SetBkMode = 0x0102,
    SetMapMode = 0x0103,
    SetRop2 = 0x0104,
    SetPolyFillMode = 0x0106,
    RestoreDc = 0x0127,
    SelectClipRegion = 0x012C,
    SelectObject = 0x012D,
    SetTextAlign = 0x012E,
    DeleteObject = 0x01F0,
    SetBkColor = 0x0201,
    SetTextColor = 0x0209,
    SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C,
    OffsetWindowOrg = 0x020F,
    LineTo = 0x0213,
    MoveTo = 0x0214,
    OffsetClipRgn = 0x0220,
    CreatePen = 0x02FA,
    CreateFont = 0x02FB,
    CreateBrush = 0x02FC,
    Polygon = 0x0324,
    Polyline = 0x0325,
    ScaleWindowExt = 0x0410,
    ExcludeClipRect = 0x0415,
    IntersectClipRect = 0x0416,
    Ellipse = 0x0418,
    Rectangle = 0x041B,
    TextOut = 0x0521,
    PolyPolygon = 0x0538,
    RoundRect = 0x061C,
    PatBlt = 0x061D,
    Arc = 0x0817,
    Pie = 0x081A,
    Chord = 0x0830,
    DibBitBlt = 0x0940,
    ExtTextOut = 0x0A32,
    DibStretchBlt = 0x0B41,
    StretchDib = 0x0F43,
    CreatePalette = 0x00F7,
    CreatePatternBrush = 0x01F9,
    DibCreatePatternBrush = 0x0142,
    CreateRegion = 0x06FF
};

QColor colorRef(quint32 v) {
    return QColor(v & 0xff, (v >> 8) & 0xff, (v >> 16) & 0xff);
}

// Parameters start after the record's size and function.
struct Params {
    RecordReader r;
    qint16 s(int word) const { return r.i16(6 + 2 * word); }
    quint16 u(int word) const { return r.u16(6 + 2 * word); }
    quint32 u32(int word) const { return r.u32(6 + 2 * word); }
    // A rectangle written bottom, right, top, left from word at.
    QRectF reversedRect(int at) const {
        return QRectF(QPointF(s(at + 3), s(at + 2)), QPointF(s(at + 1), s(at)));
    }
    QPointF reversedPoint(int at) const { return QPointF(s(at + 1), s(at)); }
    RecordReader from(int word) const { return r.sub(6 + 2 * word, r.size() - 6 - 2 * word); }
};

QPolygonF polygonAt(const Params& p, int countWord, quint32& used) {
    const quint16 n = p.u(countWord);
    QPolygonF poly;
    if (!p.r.hasArray(6 + 2 * (countWord + 1), n, 4))
        return poly;
    for (int i = 0; i < n; ++i)
        poly.push_back(QPointF(p.s(countWord + 1 + 2 * i), p.s(countWord + 2 + 2 * i)));
    used = n;
    return poly;
}

QVector<QPolygonF> polyPolygon(const Params& p) {
    const quint16 polys = p.u(0);
    QVector<QPolygonF> out;
    int word = 1 + polys;
    if (!p.r.hasArray(8, polys, 2))
        return out;
    for (int i = 0; i < polys; ++i) {
        const quint16 n = p.u(1 + i);
        if (!p.r.hasArray(6 + 2 * word, n, 4))
            break;
        QPolygonF poly;
        for (int k = 0; k < n; ++k)
            poly.push_back(QPointF(p.s(word + 2 * k), p.s(word + 2 * k + 1)));
        word += 2 * n;
        out.push_back(poly);
    }
    return out;
}

bool playState(GdiCanvas& c, quint16 f, const Params& p) {
    DeviceContext& dc = c.dc();
    switch (f) {
    case SetBkMode:
        dc.opaqueBackground = p.u(0) == 2;
        return true;
    case SetMapMode:
        if (p.u(0) >= 1 && p.u(0) <= 8)
            dc.mapMode = MapMode(p.u(0));
        return true;
    case SetRop2:
        dc.rop2 = p.u(0);
        return true;
    case SetPolyFillMode:
        dc.fillRule = p.u(0) == 2 ? Qt::WindingFill : Qt::OddEvenFill;
        return true;
    case SetTextAlign:
        dc.textAlign = p.u(0);
        return true;
    case SetBkColor:
        dc.backColor = colorRef(p.u32(0));
        return true;
    case SetTextColor:
        dc.textColor = colorRef(p.u32(0));
        return true;
    case SetWindowOrg:
        dc.windowOrigin = p.reversedPoint(0);
        return true;
    case SetWindowExt:
        dc.windowExtent = QSizeF(p.s(1), p.s(0));
        return true;
    case OffsetWindowOrg:
        dc.windowOrigin += p.reversedPoint(0);
        return true;
    case ScaleWindowExt:
        if (p.s(0) != 0 && p.s(2) != 0)
            dc.windowExtent =
                QSizeF(dc.windowExtent.width() * p.s(3) / p.s(2), dc.windowExtent.height() * p.s(1) / p.s(0));
        return true;
    case SaveDc:
        c.saveDc();
        return true;
    case RestoreDc:
        c.restoreDc(p.s(0));
        return true;
    case ExcludeClipRect:
        c.excludeClipRect(p.reversedRect(0));
        return true;
    case IntersectClipRect:
        c.intersectClipRect(p.reversedRect(0));
        return true;
    case OffsetClipRgn:
        c.offsetClip(p.reversedPoint(0));
        return true;
    case SelectClipRegion: // regions are not kept: selecting one lifts the clip
        c.selectClipRegion(std::nullopt, 5);
        return true;
    default:
        return false;
    }
}

GdiFont font(const Params& p) {
    GdiFont f;
    f.height = p.s(0);
    f.width = p.s(1);
    f.escapement = p.s(2);
    f.weight = p.s(4);
    const RecordReader& r = p.r;
    f.italic = r.u8(16);
    f.underline = r.u8(17);
    f.strikeOut = r.u8(18);
    f.charset = r.u8(19);
    QByteArray face;
    for (int i = 0; i < 32 && r.u8(24 + i); ++i)
        face += char(r.u8(24 + i));
    f.face = decodeAnsiText(face, f.charset);
    return f;
}

bool playObject(GdiCanvas& c, quint16 f, const Params& p) {
    switch (f) {
    case CreatePen: {
        GdiPen pen;
        pen.style = (p.u(0) & 0xf) <= 6 ? (p.u(0) & 0xf) : 0;
        pen.width = p.s(1);
        pen.color = colorRef(p.u32(3));
        static const Qt::PenCapStyle caps[] = {Qt::RoundCap, Qt::SquareCap, Qt::FlatCap};
        static const Qt::PenJoinStyle joins[] = {Qt::RoundJoin, Qt::BevelJoin, Qt::MiterJoin};
        pen.cap = caps[std::min((p.u(0) >> 8) & 0xf, 2)];
        pen.join = joins[std::min((p.u(0) >> 12) & 0xf, 2)];
        c.addObject(pen);
        return true;
    }
    case CreateBrush: {
        GdiBrush brush;
        brush.style = p.u(0) <= int(GdiBrush::Hatched) ? int(p.u(0)) : int(GdiBrush::Solid);
        brush.color = colorRef(p.u32(1));
        brush.hatch = p.u(3);
        c.addObject(brush);
        return true;
    }
    case DibCreatePatternBrush: {
        GdiBrush brush;
        brush.style = GdiBrush::Pattern;
        brush.color = Qt::gray;
        brush.pattern = decodePackedDib(p.from(2));
        c.addObject(brush);
        return true;
    }
    case CreateFont:
        c.addObject(font(p));
        return true;
    case CreatePalette:
    case CreatePatternBrush:
    case CreateRegion:
        c.addObject(std::monostate());
        return true;
    case SelectObject:
        c.selectObject(p.u(0));
        return true;
    case DeleteObject:
        c.deleteObject(p.u(0));
        return true;
    default:
        return false;
    }
}

bool playShape(GdiCanvas& c, quint16 f, const Params& p) {
    quint32 used = 0;
    switch (f) {
    case MoveTo:
        c.moveTo(p.reversedPoint(0));
        return true;
    case LineTo:
        c.lineTo(p.reversedPoint(0));
        return true;
    case Polygon:
        c.polygons({polygonAt(p, 0, used)});
        return true;
    case Polyline:
        c.polyline(polygonAt(p, 0, used));
        return true;
    case PolyPolygon:
        c.polygons(polyPolygon(p));
        return true;
    case Rectangle:
    case Ellipse:
    case RoundRect: {
        const QRectF box = p.reversedRect(f == RoundRect ? 2 : 0).normalized();
        QPainterPath path;
        if (f == Rectangle)
            path.addRect(box);
        else if (f == Ellipse)
            path.addEllipse(box);
        else
            path.addRoundedRect(box, p.s(1) / 2.0, p.s(0) / 2.0);
        c.shape(path, true);
        return true;
    }
    case Arc:
    case Pie:
    case Chord:
        c.arc(p.reversedRect(4), p.reversedPoint(2), p.reversedPoint(0),
              f == Arc ? GdiCanvas::ArcKind::Arc
                       : (f == Chord ? GdiCanvas::ArcKind::Chord : GdiCanvas::ArcKind::Pie));
        return true;
    default:
        return false;
    }
}

void playText(GdiCanvas& c, quint16 f, const Params& p) {
    GdiCanvas::TextRun run;
    QByteArray bytes;
    int stringWord = 0;
    int length = 0;
    if (f == TextOut) {
        length = p.u(0);
        stringWord = 1;
        run.reference = p.reversedPoint(1 + (length + 1) / 2);
    } else {
        run.reference = p.reversedPoint(0);
        length = p.u(2);
        run.options = p.u(3);
        stringWord = 4;
        if (run.options & 6) {
            run.rect = QRectF(QPointF(p.s(4), p.s(5)), QPointF(p.s(6), p.s(7)));
            stringWord = 8;
        }
    }
    const RecordReader text = p.from(stringWord);
    if (!text.has(0, length))
        return;
    bytes = QByteArray(text.data(), length);
    run.text = decodeAnsiText(bytes, c.dc().font.charset);
    if (f == ExtTextOut) {
        const int dxWord = stringWord + (length + 1) / 2;
        if (p.r.hasArray(6 + 2 * dxWord, quint32(length), 2))
            for (int i = 0; i < length; ++i)
                run.advances.push_back(p.s(dxWord + i));
        if (run.advances.size() != run.text.size()) // double-byte text: one advance per byte
            run.advances.clear();
    }
    c.text(run);
}

void playBitmap(GdiCanvas& c, quint16 f, const Params& p) {
    const quint32 rop = p.u32(0);
    const bool withBitmap = quint32(p.r.u32(0)) != quint32((f >> 8) + 3);
    if (f == PatBlt || !withBitmap) {
        const int at = f == PatBlt ? 2 : (f == DibBitBlt ? 5 : 7);
        c.patternBlit(QRectF(p.s(at + 3), p.s(at + 2), p.s(at + 1), p.s(at)), rop);
        return;
    }
    QRectF dest, source;
    int dibWord = 0;
    if (f == DibBitBlt) {
        dest = QRectF(p.s(7), p.s(6), p.s(5), p.s(4));
        source = QRectF(p.s(3), p.s(2), p.s(5), p.s(4));
        dibWord = 8;
    } else {
        const int at = f == StretchDib ? 3 : 2; // StretchDIB adds its colour usage
        source = QRectF(p.s(at + 3), p.s(at + 2), p.s(at + 1), p.s(at));
        dest = QRectF(p.s(at + 7), p.s(at + 6), p.s(at + 5), p.s(at + 4));
        dibWord = at + 8;
    }
    const RecordReader dib = p.from(dibWord);
    const QImage image = decodePackedDib(dib);
    if (image.isNull())
        return;
    if (f == DibBitBlt) // a blit copies the source's own size
        source.setSize(QSizeF(std::abs(dest.width()), std::abs(dest.height())));
    if (f == StretchDib && dib.i32(8) > 0)
        source.moveTop(image.height() - source.top() - source.height());
    c.bitmap(dest, image, source, rop);
}

void playRecord(GdiCanvas& c, quint16 f, const Params& p) {
    if (playState(c, f, p) || playObject(c, f, p) || playShape(c, f, p))
        return;
    switch (f) {
    case TextOut:
    case ExtTextOut:
        playText(c, f, p);
        break;
    case PatBlt:
    case DibBitBlt:
    case DibStretchBlt:
    case StretchDib:
        playBitmap(c, f, p);
        break;
    default:
        break; // escapes, palettes and the old device-dependent bitmaps draw nothing here
    }
}

// The window a metafile without a placeable header sets up first.
std::optional<QRectF> firstWindow(const RecordReader& file, qsizetype at) {
    QPointF origin;
    for (int n = 0; n < 4096 && file.has(at, 6); ++n) {
        const quint32 words = file.u32(at);
        const quint16 f = file.u16(at + 4);
        if (words < 3 || f == Eof)
            break;
        const Params p{file.sub(at, std::min<qsizetype>(qsizetype(words) * 2, file.size() - at))};
        if (f == SetWindowOrg)
            origin = p.reversedPoint(0);
        if (f == SetWindowExt && p.s(0) != 0 && p.s(1) != 0)
            return QRectF(origin, QSizeF(p.s(1), p.s(0)));
        at += qsizetype(words) * 2;
    }
    return std::nullopt;
}
} // namespace

std::optional<WmfHeader> readWmfHeader(const QByteArray& bytes) {
    const RecordReader file(bytes.constData(), bytes.size());
    WmfHeader h;
    qsizetype at = 0;
    if (file.u32(0) == PlaceableKey) {
        h.frame = QRectF(QPointF(file.i16(6), file.i16(8)), QPointF(file.i16(10), file.i16(12))).normalized();
        h.unitsPerInch = file.u16(14) ? file.u16(14) : 1440;
        at = 22;
    }
    const quint16 type = file.u16(at), headerWords = file.u16(at + 2);
    if ((type != 1 && type != 2) || headerWords != 9 || !file.has(at, 18))
        return std::nullopt;
    h.firstRecord = at + 18;
    if (h.frame.isEmpty()) {
        const std::optional<QRectF> window = firstWindow(file, h.firstRecord);
        if (!window)
            return std::nullopt;
        h.frame = window->normalized();
    }
    return h;
}

void playWmf(const QByteArray& bytes, const WmfHeader& header, QPainter& painter, const QRectF& target) {
    const QRectF& frame = header.frame;
    const QTransform toTarget = frameToTarget(frame, target);
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    {
        const double perMm = header.unitsPerInch / 25.4;
        GdiCanvas canvas(painter, toTarget, QSizeF(perMm, perMm), GdiCanvas::Mapping::WindowToFrame);
        DeviceContext& dc = canvas.dc();
        dc.windowOrigin = dc.viewportOrigin = frame.topLeft();
        dc.windowExtent = dc.viewportExtent = frame.size();
        const RecordReader file(bytes.constData(), bytes.size());
        qsizetype at = header.firstRecord;
        for (int n = 0; n < MaxRecords && file.has(at, 6); ++n) {
            const quint32 words = file.u32(at);
            const quint16 f = file.u16(at + 4);
            if (words < 3 || f == Eof || quint64(words) * 2 > quint64(file.size() - at))
                break;
            playRecord(canvas, f, Params{file.sub(at, qsizetype(words) * 2)});
            at += qsizetype(words) * 2;
        }
    }
    painter.restore();
}

} // namespace KX::Tovrin::Metafiles
