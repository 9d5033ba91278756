#include "platform/brovik/editorcore/metafile/GdiCanvas.h"

#include <QPaintEngine>
#include <cmath>
#include <numbers>

namespace KX::Tovrin::Metafiles {

namespace {
constexpr quint32 StockFlag = 0x80000000u;
constexpr int RopNop = 11;
enum ClipMode { And = 1, Or = 2, Xor = 3, Diff = 4, Copy = 5 };

QPainterPath everywhere() {
    QPainterPath p;
    p.addRect(QRectF(-1e8, -1e8, 2e8, 2e8));
    return p;
}

QPainterPath rectPath(const QRectF& r) {
    QPainterPath p;
    p.addRect(r.normalized());
    return p;
}
} // namespace

GdiCanvas::GdiCanvas(QPainter& painter, const QTransform& deviceToTarget, QSizeF devicePixelsPerMm,
                     Mapping mapping)
    : _painter(painter), _deviceToPainter(deviceToTarget * painter.worldTransform()),
      _targetScale(std::sqrt(std::abs(_deviceToPainter.determinant()))), _pixelsPerMm(devicePixelsPerMm),
      _mapping(mapping) {
    _painter.save();
    _painter.setRenderHint(QPainter::Antialiasing);
    _painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

GdiCanvas::~GdiCanvas() {
    _painter.restore();
}

void GdiCanvas::saveDc() {
    if (_saved.size() < MaxSavedLevels)
        _saved.push_back(_dc);
}

void GdiCanvas::restoreDc(int which) {
    const qint64 count = qint64(_saved.size());
    const qint64 level = which < 0 ? count + which : qint64(which) - 1;
    if (level < 0 || level >= count)
        return;
    _dc = _saved[size_t(level)];
    _saved.resize(size_t(level));
}

GdiObject GdiCanvas::stockObject(quint32 index) {
    switch (index & ~StockFlag) {
    case 0:
        return solidBrush(Qt::white);
    case 1:
        return solidBrush(QColor(192, 192, 192));
    case 2:
        return solidBrush(QColor(128, 128, 128));
    case 3:
        return solidBrush(QColor(64, 64, 64));
    case 4:
        return solidBrush(Qt::black);
    case 5:
        return nullBrush();
    case 6:
        return solidPen(Qt::white);
    case 7:
    case 19:
        return GdiPen{};
    case 8: {
        GdiPen none;
        none.style = GdiPen::Null;
        return none;
    }
    case 18:
        return GdiBrush{};
    default:
        return index >= (StockFlag | 10) && index <= (StockFlag | 17) ? GdiObject(GdiFont{}) : GdiObject();
    }
}

void GdiCanvas::setObject(quint32 index, GdiObject object) {
    if (!(index & StockFlag))
        _objects[index] = std::move(object);
}

void GdiCanvas::addObject(GdiObject object) {
    while (_objects.count(_firstFree))
        ++_firstFree;
    if (_firstFree < 65536)
        _objects[_firstFree] = std::move(object);
}

void GdiCanvas::selectObject(quint32 index) {
    GdiObject stock;
    const GdiObject* object = nullptr;
    if (index & StockFlag) {
        stock = stockObject(index);
        object = &stock;
    } else if (auto it = _objects.find(index); it != _objects.end()) {
        object = &it->second;
    }
    if (!object)
        return;
    if (auto* pen = std::get_if<GdiPen>(object))
        _dc.pen = *pen;
    else if (auto* brush = std::get_if<GdiBrush>(object))
        _dc.brush = *brush;
    else if (auto* font = std::get_if<GdiFont>(object))
        _dc.font = *font;
}

void GdiCanvas::deleteObject(quint32 index) {
    if (_objects.erase(index))
        _firstFree = std::min(_firstFree, index);
}

QTransform GdiCanvas::logicalToDevice() const {
    double sx = 1, sy = 1;
    const QSizeF& w = _dc.windowExtent;
    const QSizeF& v = _dc.viewportExtent;
    const bool scaled = _mapping == Mapping::WindowToFrame || _dc.mapMode == MapMode::Isotropic ||
                        _dc.mapMode == MapMode::Anisotropic;
    if (scaled) {
        sx = w.width() != 0 ? v.width() / w.width() : 1;
        sy = w.height() != 0 ? v.height() / w.height() : 1;
        if (_dc.mapMode == MapMode::Isotropic && _mapping == Mapping::Modes) {
            const double s = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(s, sx);
            sy = std::copysign(s, sy);
        }
    } else if (_dc.mapMode != MapMode::Text) {
        // Fixed modes: logical units are lengths, and y grows upwards.
        static const double mmPerUnit[] = {0, 0, 0.1, 0.01, 0.254, 0.0254, 25.4 / 1440};
        const double mm = mmPerUnit[int(_dc.mapMode)];
        sx = mm * _pixelsPerMm.width();
        sy = -mm * _pixelsPerMm.height();
    }
    const QTransform page = QTransform::fromTranslate(-_dc.windowOrigin.x(), -_dc.windowOrigin.y()) *
                            QTransform::fromScale(sx, sy) *
                            QTransform::fromTranslate(_dc.viewportOrigin.x(), _dc.viewportOrigin.y());
    return _dc.world * page;
}

double GdiCanvas::deviceUnitInLogical() const {
    const double s = std::sqrt(std::abs(logicalToDevice().determinant()));
    return s > 0 ? 1 / s : 1;
}

void GdiCanvas::beginPath() {
    _path = QPainterPath();
    _pathOpen = true;
    _figureOpen = false;
}

void GdiCanvas::abortPath() {
    _path = QPainterPath();
    _pathOpen = false;
}

void GdiCanvas::closeFigure() {
    if (_pathOpen && _figureOpen) {
        _path.closeSubpath();
        _figureOpen = false;
    }
}

void GdiCanvas::paintPath(bool fill, bool stroke) {
    QPainterPath path = _path;
    path.setFillRule(_dc.fillRule);
    _path = QPainterPath();
    _pathOpen = false;
    paintDevicePath(path, fill, stroke);
}

void GdiCanvas::selectClipPath(int mode) {
    QPainterPath path = _path;
    path.setFillRule(_dc.fillRule);
    _path = QPainterPath();
    _pathOpen = false;
    combineClip(path, mode);
}

void GdiCanvas::emitPath(const QPainterPath& device, bool fill, bool stroke) {
    if (_pathOpen) {
        _path.addPath(device);
        _figureOpen = false;
        return;
    }
    paintDevicePath(device, fill, stroke);
}

void GdiCanvas::enterDevice() {
    _painter.save();
    _painter.setWorldTransform(_deviceToPainter);
    if (_dc.clip && _dc.metaClip)
        _painter.setClipPath(_dc.clip->intersected(*_dc.metaClip), Qt::IntersectClip);
    else if (_dc.clip || _dc.metaClip)
        _painter.setClipPath(_dc.clip ? *_dc.clip : *_dc.metaClip, Qt::IntersectClip);
}

QPen GdiCanvas::devicePen() const {
    const GdiPen& p = _dc.pen;
    double width = p.width * std::sqrt(std::abs(logicalToDevice().determinant()));
    if (width * _targetScale < 1)
        width = 0; // GDI never lets a line vanish: at least one pixel
    QPen pen(p.color, width);
    pen.setCapStyle(p.cap);
    pen.setJoinStyle(p.join);
    static const Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                          Qt::DashDotDotLine};
    if (p.style >= 0 && p.style < 5)
        pen.setStyle(styles[p.style]);
    return pen;
}

void GdiCanvas::paintDevicePath(const QPainterPath& device, bool fill, bool stroke) {
    if (_dc.rop2 == RopNop || device.isEmpty())
        return;
    const bool filling = fill && _dc.brush.style != GdiBrush::Null;
    const bool stroking = stroke && _dc.pen.style != GdiPen::Null;
    if (!filling && !stroking)
        return;
    enterDevice();
    if (filling) {
        QPainterPath area = device;
        area.setFillRule(_dc.fillRule);
        switch (_dc.brush.style) {
        case GdiBrush::Hatched: {
            static const Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                                     Qt::FDiagPattern, Qt::BDiagPattern,
                                                     Qt::CrossPattern, Qt::DiagCrossPattern};
            if (_dc.opaqueBackground)
                _painter.fillPath(area, _dc.backColor);
            const int h = _dc.brush.hatch;
            _painter.fillPath(area, QBrush(_dc.brush.color, h >= 0 && h < 6 ? hatches[h] : Qt::SolidPattern));
            break;
        }
        case GdiBrush::Pattern:
            _painter.fillPath(area, _dc.brush.pattern.isNull() ? QBrush(_dc.brush.color)
                                                               : QBrush(_dc.brush.pattern));
            break;
        default:
            _painter.fillPath(area, _dc.brush.color);
        }
    }
    if (stroking) {
        _painter.setPen(devicePen());
        _painter.setBrush(Qt::NoBrush);
        _painter.drawPath(device);
    }
    _painter.restore();
}

void GdiCanvas::shape(const QPainterPath& logical, bool closed) {
    emitPath(logicalToDevice().map(logical), closed, true);
}

void GdiCanvas::polyline(const QPolygonF& points) {
    if (points.size() < 2)
        return;
    QPainterPath p;
    p.addPolygon(points);
    shape(p, false);
}

void GdiCanvas::polygons(const QVector<QPolygonF>& polygons) {
    QPainterPath p;
    p.setFillRule(_dc.fillRule);
    for (const QPolygonF& poly : polygons) {
        if (poly.size() < 2)
            continue;
        p.addPolygon(poly);
        p.closeSubpath();
    }
    shape(p, true);
}

void GdiCanvas::moveTo(QPointF p) {
    _dc.position = p;
    if (_pathOpen) {
        _path.moveTo(logicalToDevice().map(p));
        _figureOpen = true;
    }
}

void GdiCanvas::lineTo(QPointF p) {
    QPolygonF to;
    to << p;
    polylineTo(to);
}

void GdiCanvas::polylineTo(const QPolygonF& points) {
    if (points.isEmpty())
        return;
    const QTransform m = logicalToDevice();
    if (_pathOpen) {
        if (!_figureOpen || _path.elementCount() == 0)
            _path.moveTo(m.map(_dc.position));
        for (const QPointF& p : points)
            _path.lineTo(m.map(p));
        _figureOpen = true;
    } else {
        QPolygonF line;
        line << _dc.position;
        line += points;
        QPainterPath p;
        p.addPolygon(line);
        paintDevicePath(m.map(p), false, true);
    }
    _dc.position = points.back();
}

void GdiCanvas::polyBezier(const QPolygonF& points, bool fromCurrentPosition) {
    const int first = fromCurrentPosition ? 0 : 1;
    if (points.size() < first + 3)
        return;
    const QTransform m = logicalToDevice();
    QPainterPath curve(m.map(fromCurrentPosition ? _dc.position : points[0]));
    for (int i = first; i + 2 < points.size(); i += 3)
        curve.cubicTo(m.map(points[i]), m.map(points[i + 1]), m.map(points[i + 2]));
    if (fromCurrentPosition)
        _dc.position = points[first + (points.size() - first) / 3 * 3 - 1];
    if (_pathOpen) {
        if (fromCurrentPosition && _figureOpen && _path.elementCount() > 0)
            _path.connectPath(curve);
        else
            _path.addPath(curve);
        _figureOpen = true;
        return;
    }
    paintDevicePath(curve, false, true);
}

QPainterPath GdiCanvas::arcPath(const QRectF& box, QPointF start, QPointF end, ArcKind kind,
                                bool connect) const {
    const QRectF r = box.normalized();
    const QPointF c = r.center();
    const double rx = std::max(r.width() / 2, 1e-9), ry = std::max(r.height() / 2, 1e-9);
    auto angle = [&](QPointF p) {
        return std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx) * 180 / std::numbers::pi;
    };
    const double a0 = angle(start);
    double sweep = angle(end) - a0;
    if (_dc.clockwiseArcs) {
        if (sweep >= 0)
            sweep -= 360;
    } else if (sweep <= 0) {
        sweep += 360;
    }
    QPainterPath p;
    if (kind == ArcKind::Pie)
        p.moveTo(c);
    else if (!connect)
        p.arcMoveTo(r, a0);
    if (connect) {
        p.moveTo(_dc.position);
        QPainterPath at;
        at.arcMoveTo(r, a0);
        p.lineTo(at.currentPosition());
    }
    p.arcTo(r, a0, sweep);
    if (kind != ArcKind::Arc)
        p.closeSubpath();
    return p;
}

void GdiCanvas::arc(const QRectF& box, QPointF start, QPointF end, ArcKind kind) {
    shape(arcPath(box, start, end, kind, false), kind != ArcKind::Arc);
}

void GdiCanvas::arcTo(const QRectF& box, QPointF start, QPointF end) {
    const QPainterPath p = arcPath(box, start, end, ArcKind::Arc, true);
    _dc.position = p.currentPosition();
    if (_pathOpen) {
        _path.connectPath(logicalToDevice().map(p));
        _figureOpen = true;
        return;
    }
    shape(p, false);
}

void GdiCanvas::combineClip(const std::optional<QPainterPath>& device, int mode) {
    std::optional<QPainterPath>& clip = _dc.clip;
    if (mode == Copy || !device) {
        if (mode == Copy)
            clip = device;
        return;
    }
    const QPainterPath current = clip ? *clip : everywhere();
    switch (mode) {
    case And:
        clip = clip ? clip->intersected(*device) : *device;
        break;
    case Or:
        if (clip)
            clip = clip->united(*device);
        break;
    case Xor:
        clip = current.subtracted(*device).united(device->subtracted(current));
        break;
    case Diff:
        clip = current.subtracted(*device);
        break;
    default:
        break;
    }
}

void GdiCanvas::intersectClipRect(const QRectF& logical) {
    combineClip(logicalToDevice().map(rectPath(logical)), And);
}

void GdiCanvas::excludeClipRect(const QRectF& logical) {
    combineClip(logicalToDevice().map(rectPath(logical)), Diff);
}

void GdiCanvas::selectClipRegion(const std::optional<QPainterPath>& device, int mode) {
    combineClip(device, mode);
}

void GdiCanvas::setMetaRegion() {
    if (_dc.clip)
        _dc.metaClip = _dc.metaClip ? _dc.metaClip->intersected(*_dc.clip) : *_dc.clip;
    _dc.clip.reset();
}

void GdiCanvas::offsetClip(QPointF logical) {
    if (!_dc.clip)
        return;
    const QTransform m = logicalToDevice();
    _dc.clip->translate(m.map(logical) - m.map(QPointF(0, 0)));
}

void GdiCanvas::bitmap(const QRectF& dest, const QImage& image, const QRectF& source, quint32 rop) {
    if (_pathOpen || image.isNull() || source.width() <= 0 || source.height() <= 0 || dest.width() == 0 ||
        dest.height() == 0)
        return;
    const double sx = dest.width() / source.width(), sy = dest.height() / source.height();
    const QTransform toLogical(sx, 0, 0, sy, dest.x() - source.x() * sx, dest.y() - source.y() * sy);
    enterDevice();
    _painter.setWorldTransform(toLogical * logicalToDevice() * _deviceToPainter);
    const bool raster = _painter.paintEngine() && _painter.paintEngine()->type() == QPaintEngine::Raster;
    QImage picture = image;
    switch (rop) {
    case 0x8800C6: // source AND destination: masks darken what is below
        if (raster)
            _painter.setCompositionMode(QPainter::CompositionMode_Multiply);
        break;
    case 0xEE0086: // source OR destination
        if (raster)
            _painter.setCompositionMode(QPainter::CompositionMode_Screen);
        break;
    case 0x660046: // source XOR destination
        if (raster)
            _painter.setCompositionMode(QPainter::CompositionMode_Difference);
        break;
    case 0x330008: // inverted source
        picture.invertPixels();
        break;
    default:
        break;
    }
    _painter.drawImage(source.topLeft(), picture, source);
    _painter.restore();
}

void GdiCanvas::patternBlit(const QRectF& dest, quint32 rop) {
    if (_pathOpen)
        return;
    const GdiBrush saved = _dc.brush;
    const GdiPen savedPen = _dc.pen;
    if (rop == 0x42)
        _dc.brush = solidBrush(Qt::black);
    else if (rop == 0xFF0062)
        _dc.brush = solidBrush(Qt::white);
    else if (rop == 0x550009 || rop == 0xAA0029) // destination inverted, or left alone
        return;
    _dc.pen.style = GdiPen::Null;
    paintDevicePath(logicalToDevice().map(rectPath(dest)), true, false);
    _dc.brush = saved;
    _dc.pen = savedPen;
}

} // namespace KX::Tovrin::Metafiles
