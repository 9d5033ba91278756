#include "platform/brovik/editorcore/metafile/EmfPlayer.h"

#include "platform/brovik/editorcore/metafile/Dib.h"
#include "platform/brovik/editorcore/metafile/GdiCanvas.h"
#include "platform/brovik/editorcore/metafile/RecordReader.h"

namespace KX::Tovrin::Metafiles {

namespace {
constexpr quint32 Signature = 0x464D4520; // " EMF"
constexpr int MaxRecords = 2'000'000;

enum Record : quint32 {
    Header = 1,
    PolyBezier = 2,
    Polygon = 3,
    Polyline = 4,
    PolyBezierTo = 5,
    PolylineTo = 6,
    PolyPolyline = 7,
    PolyPolygon = 8,
    SetWindowExt = 9,
    SetWindowOrg = 10,
    SetViewportExt = 11,
    SetViewportOrg = 12,
    Eof = 14,
    SetMapMode = 17,
    SetBkMode = 18,
    SetPolyFillMode = 19,
    SetRop2 = 20,
    SetTextAlign = 22,
    SetTextColor = 24,
    SetBkColor = 25,
    OffsetClipRgn = 26,
    MoveTo = 27,
    SetMetaRgn = 28,
    ExcludeClipRect = 29,
    IntersectClipRect = 30,
    ScaleViewportExt = 31,
    ScaleWindowExt = 32,
    SaveDc = 33,
    RestoreDc = 34,
    SetWorldTransform = 35,
    ModifyWorldTransform = 36,
    SelectObject = 37,
    CreatePen = 38,
    CreateBrush = 39,
    DeleteObject = 40,
    Ellipse = 42,
    Rectangle = 43,
    RoundRect = 44,
    Arc = 45,
    Chord = 46,
    Pie = 47,
    LineTo = 54,
    ArcTo = 55,
    SetArcDirection = 57,
    BeginPath = 59,
    EndPath = 60,
    CloseFigure = 61,
    FillPath = 62,
    StrokeAndFillPath = 63,
    StrokePath = 64,
    SelectClipPath = 67,
    AbortPath = 68,
    ExtSelectClipRgn = 75,
    BitBlt = 76,
    StretchBlt = 77,
    SetDiBitsToDevice = 80,
    StretchDiBits = 81,
    ExtCreateFontW = 82,
    ExtTextOutA = 83,
    ExtTextOutW = 84,
    PolyBezier16 = 85,
    Polygon16 = 86,
    Polyline16 = 87,
    PolyBezierTo16 = 88,
    PolylineTo16 = 89,
    PolyPolyline16 = 90,
    PolyPolygon16 = 91,
    CreateMonoBrush = 93,
    CreateDibPatternBrush = 94,
    ExtCreatePen = 95,
    AlphaBlend = 114
};

QColor colorRef(quint32 v) {
    return QColor(v & 0xff, (v >> 8) & 0xff, (v >> 16) & 0xff);
}

QPolygonF points(const RecordReader& r, qsizetype countAt, qsizetype at, bool small) {
    const quint32 count = r.u32(countAt);
    const int size = small ? 4 : 8;
    QPolygonF poly;
    if (!r.hasArray(at, count, size))
        return poly;
    poly.reserve(int(count));
    for (quint32 i = 0; i < count; ++i)
        poly.push_back(small ? r.pointS(at + i * 4) : r.pointL(at + i * 8));
    return poly;
}

QVector<QPolygonF> polyPoints(const RecordReader& r, bool small) {
    const quint32 polys = r.u32(24), total = r.u32(28);
    const int size = small ? 4 : 8;
    QVector<QPolygonF> out;
    const qsizetype pointsAt = 32 + qsizetype(polys) * 4;
    if (!r.hasArray(32, polys, 4) || !r.hasArray(pointsAt, total, size))
        return out;
    quint64 used = 0;
    for (quint32 p = 0; p < polys; ++p) {
        const quint32 n = r.u32(32 + p * 4);
        if (n > total - used)
            break;
        QPolygonF poly;
        for (quint32 i = 0; i < n; ++i) {
            const qsizetype at = pointsAt + qsizetype(used + i) * size;
            poly.push_back(small ? r.pointS(at) : r.pointL(at));
        }
        used += n;
        out.push_back(poly);
    }
    return out;
}

QTransform xform(const RecordReader& r, qsizetype at) {
    return QTransform(r.f32(at), r.f32(at + 4), r.f32(at + 8), r.f32(at + 12), r.f32(at + 16),
                      r.f32(at + 20));
}

bool playState(GdiCanvas& c, quint32 type, const RecordReader& r) {
    DeviceContext& dc = c.dc();
    switch (type) {
    case SetWindowExt:
        dc.windowExtent = QSizeF(r.i32(8), r.i32(12));
        return true;
    case SetWindowOrg:
        dc.windowOrigin = r.pointL(8);
        return true;
    case SetViewportExt:
        dc.viewportExtent = QSizeF(r.i32(8), r.i32(12));
        return true;
    case SetViewportOrg:
        dc.viewportOrigin = r.pointL(8);
        return true;
    case ScaleViewportExt:
    case ScaleWindowExt: {
        QSizeF& e = type == ScaleWindowExt ? dc.windowExtent : dc.viewportExtent;
        if (r.i32(12) != 0 && r.i32(20) != 0)
            e = QSizeF(e.width() * r.i32(8) / r.i32(12), e.height() * r.i32(16) / r.i32(20));
        return true;
    }
    case SetMapMode:
        if (r.u32(8) >= 1 && r.u32(8) <= 8)
            dc.mapMode = MapMode(r.u32(8));
        return true;
    case SetBkMode:
        dc.opaqueBackground = r.u32(8) == 2;
        return true;
    case SetPolyFillMode:
        dc.fillRule = r.u32(8) == 2 ? Qt::WindingFill : Qt::OddEvenFill;
        return true;
    case SetRop2:
        dc.rop2 = int(r.u32(8));
        return true;
    case SetTextAlign:
        dc.textAlign = r.u32(8);
        return true;
    case SetTextColor:
        dc.textColor = colorRef(r.u32(8));
        return true;
    case SetBkColor:
        dc.backColor = colorRef(r.u32(8));
        return true;
    case SetArcDirection:
        dc.clockwiseArcs = r.u32(8) == 2;
        return true;
    case SaveDc:
        c.saveDc();
        return true;
    case RestoreDc:
        c.restoreDc(r.i32(8));
        return true;
    case SetWorldTransform:
        dc.world = xform(r, 8);
        return true;
    case ModifyWorldTransform: {
        const QTransform x = xform(r, 8);
        switch (r.u32(32)) {
        case 1:
            dc.world = QTransform();
            break;
        case 2:
            dc.world = x * dc.world;
            break;
        case 3:
            dc.world = dc.world * x;
            break;
        case 4:
            dc.world = x;
            break;
        default:
            break;
        }
        return true;
    }
    default:
        return false;
    }
}

std::optional<QPainterPath> regionData(const RecordReader& r) {
    // RGNDATA: a 32-byte header with the count of rectangles, then the rectangles.
    const quint32 count = r.u32(8);
    if (!r.hasArray(32, count, 16))
        return std::nullopt;
    QRegion region;
    for (quint32 i = 0; i < count; ++i) {
        const QRectF rect = r.rectL(32 + i * 16).normalized();
        region += rect.toAlignedRect();
    }
    QPainterPath p;
    p.addRegion(region);
    return p;
}

bool playClip(GdiCanvas& c, quint32 type, const RecordReader& r) {
    switch (type) {
    case IntersectClipRect:
        c.intersectClipRect(r.rectL(8));
        return true;
    case ExcludeClipRect:
        c.excludeClipRect(r.rectL(8));
        return true;
    case OffsetClipRgn:
        c.offsetClip(r.pointL(8));
        return true;
    case SetMetaRgn:
        c.setMetaRegion();
        return true;
    case ExtSelectClipRgn: {
        const quint32 size = r.u32(8);
        const std::optional<QPainterPath> region =
            size >= 32 ? regionData(r.sub(16, std::min<qsizetype>(size, r.size() - 16))) : std::nullopt;
        c.selectClipRegion(region, int(r.u32(12)));
        return true;
    }
    case SelectClipPath:
        c.selectClipPath(int(r.u32(8)));
        return true;
    default:
        return false;
    }
}

GdiPen extPen(const RecordReader& r) {
    // EMR_EXTCREATEPEN: the LOGPEN_EX after the bitmap offsets.
    const quint32 style = r.u32(28);
    GdiPen pen;
    pen.style = int(style & 0xf) <= 6 ? int(style & 0xf) : 0;
    pen.width = (style & 0x10000) ? r.u32(32) : 0; // cosmetic pens are one pixel wide
    pen.color = colorRef(r.u32(40));
    if (r.u32(36) == 1) // a hollow brush draws nothing
        pen.style = GdiPen::Null;
    static const Qt::PenCapStyle caps[] = {Qt::RoundCap, Qt::SquareCap, Qt::FlatCap};
    static const Qt::PenJoinStyle joins[] = {Qt::RoundJoin, Qt::BevelJoin, Qt::MiterJoin};
    pen.cap = caps[std::min<quint32>((style >> 8) & 0xf, 2)];
    pen.join = joins[std::min<quint32>((style >> 12) & 0xf, 2)];
    return pen;
}

GdiFont logFont(const RecordReader& r, qsizetype at) {
    GdiFont f;
    f.height = r.i32(at);
    f.width = r.i32(at + 4);
    f.escapement = r.i32(at + 8);
    f.weight = r.i32(at + 16);
    f.italic = r.u8(at + 20);
    f.underline = r.u8(at + 21);
    f.strikeOut = r.u8(at + 22);
    f.charset = r.u8(at + 23);
    for (int i = 0; i < 32; ++i) {
        const quint16 ch = r.u16(at + 28 + 2 * i);
        if (ch == 0)
            break;
        f.face += QChar(ch);
    }
    return f;
}

bool playObject(GdiCanvas& c, quint32 type, const RecordReader& r) {
    switch (type) {
    case CreatePen: {
        GdiPen pen;
        pen.style = int(r.u32(12) & 0xf) <= 6 ? int(r.u32(12) & 0xf) : 0;
        pen.width = r.i32(16);
        pen.color = colorRef(r.u32(24));
        c.setObject(r.u32(8), pen);
        return true;
    }
    case ExtCreatePen:
        c.setObject(r.u32(8), extPen(r));
        return true;
    case CreateBrush: {
        GdiBrush brush;
        brush.style = int(r.u32(12));
        brush.color = colorRef(r.u32(16));
        brush.hatch = int(r.u32(20));
        if (brush.style > GdiBrush::Hatched)
            brush.style = GdiBrush::Solid;
        c.setObject(r.u32(8), brush);
        return true;
    }
    case CreateMonoBrush:
    case CreateDibPatternBrush: {
        GdiBrush brush;
        brush.style = GdiBrush::Pattern;
        brush.color = Qt::gray;
        brush.pattern = decodeDib(r.sub(r.u32(16), r.u32(20)), r.sub(r.u32(24), r.u32(28)));
        c.setObject(r.u32(8), brush);
        return true;
    }
    case ExtCreateFontW:
        c.setObject(r.u32(8), logFont(r, 12));
        return true;
    case SelectObject:
        c.selectObject(r.u32(8));
        return true;
    case DeleteObject:
        c.deleteObject(r.u32(8));
        return true;
    default:
        return false;
    }
}

bool playPath(GdiCanvas& c, quint32 type) {
    switch (type) {
    case BeginPath:
        c.beginPath();
        return true;
    case EndPath:
        c.endPath();
        return true;
    case AbortPath:
        c.abortPath();
        return true;
    case CloseFigure:
        c.closeFigure();
        return true;
    case FillPath:
    case StrokeAndFillPath:
    case StrokePath:
        c.paintPath(type != StrokePath, type != FillPath);
        return true;
    default:
        return false;
    }
}

bool playShape(GdiCanvas& c, quint32 type, const RecordReader& r) {
    const bool small = type >= PolyBezier16 && type <= PolyPolygon16;
    switch (type) {
    case Polygon:
    case Polygon16:
        c.polygons({points(r, 24, 28, small)});
        return true;
    case Polyline:
    case Polyline16:
        c.polyline(points(r, 24, 28, small));
        return true;
    case PolyBezier:
    case PolyBezier16:
    case PolyBezierTo:
    case PolyBezierTo16:
        c.polyBezier(points(r, 24, 28, small), type == PolyBezierTo || type == PolyBezierTo16);
        return true;
    case PolylineTo:
    case PolylineTo16:
        c.polylineTo(points(r, 24, 28, small));
        return true;
    case PolyPolygon:
    case PolyPolygon16:
        c.polygons(polyPoints(r, small));
        return true;
    case PolyPolyline:
    case PolyPolyline16:
        for (const QPolygonF& line : polyPoints(r, small))
            c.polyline(line);
        return true;
    case MoveTo:
        c.moveTo(r.pointL(8));
        return true;
    case LineTo:
        c.lineTo(r.pointL(8));
        return true;
    case Rectangle:
    case Ellipse:
    case RoundRect: {
        const QRectF box = r.rectL(8);
        QPainterPath p;
        if (type == Rectangle)
            p.addRect(box.normalized());
        else if (type == Ellipse)
            p.addEllipse(box.normalized());
        else
            p.addRoundedRect(box.normalized(), r.i32(24) / 2.0, r.i32(28) / 2.0);
        c.shape(p, true);
        return true;
    }
    case Arc:
    case Chord:
    case Pie:
        c.arc(r.rectL(8), r.pointL(24), r.pointL(32),
              type == Arc ? GdiCanvas::ArcKind::Arc
                          : (type == Chord ? GdiCanvas::ArcKind::Chord : GdiCanvas::ArcKind::Pie));
        return true;
    case ArcTo:
        c.arcTo(r.rectL(8), r.pointL(24), r.pointL(32));
        return true;
    default:
        return false;
    }
}

void playBitmap(GdiCanvas& c, quint32 type, const RecordReader& r) {
    // Field offsets differ per record; each names where its destination, source and bitmap are.
    QRectF dest, source;
    quint32 rop = 0xCC0020, info = 0, infoSize = 0, bits = 0, bitsSize = 0;
    bool bottomUpSource = false;
    if (type == BitBlt || type == StretchBlt || type == AlphaBlend) {
        dest = QRectF(r.i32(24), r.i32(28), r.i32(32), r.i32(36));
        rop = r.u32(40);
        info = r.u32(84), infoSize = r.u32(88), bits = r.u32(92), bitsSize = r.u32(96);
        const QSizeF size = type == BitBlt ? dest.size() : QSizeF(r.i32(100), r.i32(104));
        source = QRectF(QPointF(r.i32(44), r.i32(48)), size);
        if (infoSize == 0) {
            c.patternBlit(dest, rop);
            return;
        }
    } else if (type == StretchDiBits) {
        dest = QRectF(r.i32(24), r.i32(28), r.i32(72), r.i32(76));
        source = QRectF(r.i32(32), r.i32(36), r.i32(40), r.i32(44));
        info = r.u32(48), infoSize = r.u32(52), bits = r.u32(56), bitsSize = r.u32(60);
        rop = r.u32(68);
        bottomUpSource = true;
    } else { // SetDIBitsToDevice: device-sized, at the destination point
        source = QRectF(r.i32(32), r.i32(36), r.i32(40), r.i32(44));
        dest = QRectF(QPointF(r.i32(24), r.i32(28)), source.size() * c.deviceUnitInLogical());
        info = r.u32(48), infoSize = r.u32(52), bits = r.u32(56), bitsSize = r.u32(60);
        bottomUpSource = true;
    }
    if (type == AlphaBlend)
        rop = 0xCC0020;
    const QImage image = decodeDib(r.sub(info, infoSize), r.sub(bits, bitsSize), type == AlphaBlend);
    if (image.isNull())
        return;
    if (bottomUpSource && r.i32(info + 8) > 0) // source rows count from the bottom of the bitmap
        source.moveTop(image.height() - source.top() - source.height());
    c.bitmap(dest, image, source, rop);
}

void playText(GdiCanvas& c, quint32 type, const RecordReader& r) {
    // EMR_EXTTEXTOUT: bounds, graphics mode, scales, then EMRTEXT at 36.
    GdiCanvas::TextRun run;
    run.reference = r.pointL(36);
    const quint32 count = std::min<quint32>(r.u32(44), 65536);
    const quint32 at = r.u32(48);
    run.options = r.u32(52);
    const QRectF rect = r.rectL(56);
    if (rect.width() != 0 && rect.height() != 0)
        run.rect = rect;
    const bool wide = type == ExtTextOutW;
    if (!r.hasArray(at, count, wide ? 2 : 1))
        return;
    if (wide)
        for (quint32 i = 0; i < count; ++i)
            run.text += QChar(r.u16(at + 2 * i));
    else
        run.text = decodeAnsiText(QByteArray(r.data() + at, int(count)), c.dc().font.charset);
    const quint32 dx = r.u32(72);
    const quint32 advances = (run.options & 0x2000) ? count * 2 : count;
    if (dx != 0 && r.hasArray(dx, advances, 4))
        for (quint32 i = 0; i < advances; ++i)
            run.advances.push_back(r.i32(dx + 4 * i));
    c.text(run);
}

void playRecord(GdiCanvas& c, quint32 type, const RecordReader& r) {
    if (playState(c, type, r) || playClip(c, type, r) || playObject(c, type, r) || playPath(c, type) ||
        playShape(c, type, r))
        return;
    switch (type) {
    case BitBlt:
    case StretchBlt:
    case AlphaBlend:
    case StretchDiBits:
    case SetDiBitsToDevice:
        playBitmap(c, type, r);
        break;
    case ExtTextOutA:
    case ExtTextOutW:
        playText(c, type, r);
        break;
    default:
        break; // comments (EMF+ among them), palettes, colour management: nothing to draw
    }
}
} // namespace

std::optional<EmfHeader> readEmfHeader(const QByteArray& bytes) {
    const RecordReader r(bytes.constData(), bytes.size());
    if (r.u32(0) != Header || r.u32(40) != Signature || r.u32(4) < 88 || r.u32(4) > quint32(bytes.size()))
        return std::nullopt;
    EmfHeader h;
    h.bounds = r.rectL(8);
    h.frame = r.rectL(24);
    const QSizeF pixels(r.i32(72), r.i32(76));
    QSizeF mm(r.i32(80), r.i32(84));
    if (r.u32(4) >= 108 && r.i32(100) > 0 && r.i32(104) > 0) // micrometres, more exact when present
        mm = QSizeF(r.i32(100) / 1000.0, r.i32(104) / 1000.0);
    if (pixels.width() > 0 && pixels.height() > 0 && mm.width() > 0 && mm.height() > 0)
        h.pixelsPerMm = QSizeF(pixels.width() / mm.width(), pixels.height() / mm.height());
    else
        h.pixelsPerMm = QSizeF(96 / 25.4, 96 / 25.4);
    if (h.frame.width() <= 0 || h.frame.height() <= 0) {
        const QRectF b = h.bounds;
        h.frame = QRectF(b.x() * 100 / h.pixelsPerMm.width(), b.y() * 100 / h.pixelsPerMm.height(),
                         b.width() * 100 / h.pixelsPerMm.width(), b.height() * 100 / h.pixelsPerMm.height());
    }
    if (h.frame.width() <= 0 || h.frame.height() <= 0)
        return std::nullopt;
    return h;
}

void playEmf(const QByteArray& bytes, const EmfHeader& header, QPainter& painter, const QRectF& target) {
    // The frame, in device units, fills the target.
    const QSizeF ppm = header.pixelsPerMm;
    const QRectF frame(header.frame.x() * ppm.width() / 100, header.frame.y() * ppm.height() / 100,
                       header.frame.width() * ppm.width() / 100, header.frame.height() * ppm.height() / 100);
    const QTransform toTarget = frameToTarget(frame, target);
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    {
        GdiCanvas canvas(painter, toTarget, ppm, GdiCanvas::Mapping::Modes);
        const RecordReader file(bytes.constData(), bytes.size());
        qsizetype at = 0;
        for (int n = 0; n < MaxRecords && file.has(at, 8); ++n) {
            const quint32 type = file.u32(at), size = file.u32(at + 4);
            if (size < 8 || (size & 3) || !file.has(at, size) || type == Eof)
                break;
            playRecord(canvas, type, file.sub(at, size));
            at += size;
        }
    }
    painter.restore();
}

} // namespace KX::Tovrin::Metafiles
