#pragma once

#include "platform/brovik/editorcore/metafile/GdiState.h"

#include <QPainter>
#include <QPolygonF>
#include <QVector>
#include <cmath>
#include <map>
#include <vector>

namespace KX::Tovrin::Metafiles {

// Unit length of a transform's x or y axis.
inline double axisScale(const QTransform& t, bool y) {
    return y ? std::hypot(t.m21(), t.m22()) : std::hypot(t.m11(), t.m12());
}

// Maps a picture's frame onto the target rectangle it is played into.
inline QTransform frameToTarget(const QRectF& frame, const QRectF& target) {
    return QTransform::fromTranslate(-frame.x(), -frame.y()) *
           QTransform::fromScale(target.width() / frame.width(), target.height() / frame.height()) *
           QTransform::fromTranslate(target.x(), target.y());
}

// Text in the code page of a font's character set.
QString decodeAnsiText(const QByteArray& bytes, int charset);

// GDI's drawing model on a QPainter, shared by the EMF and WMF players: a device context with
// its object table, logical-to-device mapping, path bracket and clip region. Every primitive is
// given in logical units, mapped to device units at the time of the call (as GDI does, so a path
// or clip outlives later mapping changes), and painted through deviceToTarget.
class GdiCanvas {
public:
    enum class ArcKind { Arc, Chord, Pie };
    enum class Mapping {
        Modes,        // EMF: the map mode decides whether window and viewport extents count
        WindowToFrame // WMF: the window always maps onto the picture's frame
    };

    GdiCanvas(QPainter& painter, const QTransform& deviceToTarget, QSizeF devicePixelsPerMm, Mapping mapping);
    ~GdiCanvas();
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    DeviceContext& dc() { return _dc; }
    void saveDc();
    void restoreDc(int which); // < 0: that many levels back; > 0: the level of that number

    void setObject(quint32 index, GdiObject object);
    void addObject(GdiObject object); // into the lowest free slot, as WMF numbers objects
    void selectObject(quint32 index);
    void deleteObject(quint32 index);

    QTransform logicalToDevice() const;
    // Length in logical units of one device unit, for lengths given in device units.
    double deviceUnitInLogical() const;

    void beginPath();
    void endPath() { _pathOpen = false; }
    void abortPath();
    void closeFigure();
    void paintPath(bool fill, bool stroke); // fills and/or strokes the finished path
    void selectClipPath(int mode);

    // Closed shapes are filled and outlined; open ones only outlined.
    void shape(const QPainterPath& logical, bool closed);
    void polyline(const QPolygonF& points);
    void polygons(const QVector<QPolygonF>& polygons);
    void moveTo(QPointF p);
    void lineTo(QPointF p);
    void polylineTo(const QPolygonF& points);
    void polyBezier(const QPolygonF& points, bool fromCurrentPosition);
    void arc(const QRectF& box, QPointF start, QPointF end, ArcKind kind);
    void arcTo(const QRectF& box, QPointF start, QPointF end);

    struct TextRun {
        QPointF reference; // logical
        QString text;
        QVector<double> advances; // logical, one per character; empty: the font's own
        quint32 options = 0;      // ETO_ flags
        std::optional<QRectF> rect;
    };
    void text(const TextRun& run);

    // A bitmap into a logical rectangle (negative extents mirror), source in image pixels.
    void bitmap(const QRectF& dest, const QImage& image, const QRectF& source, quint32 rop);
    void patternBlit(const QRectF& dest, quint32 rop);

    void intersectClipRect(const QRectF& logical);
    void excludeClipRect(const QRectF& logical);
    void selectClipRegion(const std::optional<QPainterPath>& device, int mode);
    void setMetaRegion();
    void offsetClip(QPointF logical);

private:
    static GdiObject stockObject(quint32 index);
    void combineClip(const std::optional<QPainterPath>& device, int mode);
    void emitPath(const QPainterPath& device, bool fill, bool stroke);
    void paintDevicePath(const QPainterPath& device, bool fill, bool stroke);
    void enterDevice(); // painter in device units with the clip applied; pair with _painter.restore()
    QPen devicePen() const;
    QPainterPath arcPath(const QRectF& box, QPointF start, QPointF end, ArcKind kind, bool connect) const;
    QFont textFont(double& scale, double& ascent, double& descent) const;

    QPainter& _painter;
    QTransform _deviceToPainter;
    double _targetScale; // painter pixels per device unit
    QSizeF _pixelsPerMm;
    Mapping _mapping;
    DeviceContext _dc;
    std::vector<DeviceContext> _saved;
    std::map<quint32, GdiObject> _objects;
    quint32 _firstFree = 0; // no free slot below this one
    QPainterPath _path;     // device units
    bool _pathOpen = false;
    bool _figureOpen = false;
};

} // namespace KX::Tovrin::Metafiles
