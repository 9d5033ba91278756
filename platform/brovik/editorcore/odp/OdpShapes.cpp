#include "platform/brovik/editorcore/odp/OdpShapes.h"

#include "platform/brovik/editorcore/geometry/EnhancedGeometry.h"
#include "platform/brovik/editorcore/geometry/GeometryDefinition.h"
#include "platform/brovik/editorcore/geometry/SvgPath.h"
#include "platform/brovik/editorcore/odp/OdfNames.h"
#include "platform/brovik/editorcore/odp/OdpChart.h"
#include "platform/brovik/editorcore/odp/OdpScene.h"
#include "platform/brovik/editorcore/odp/OdpText.h"
#include "platform/brovik/editorcore/package/XmlPart.h"

#include <QRegularExpression>
#include <QTransform>
#include <cmath>
#include <functional>
#include <numbers>

namespace KX::Tovrin {

namespace {
using namespace Odf;
constexpr int MaxGroupDepth = 24;

// Presentation applications' own shape names mapped to the DrawingML presets that draw them.
QString presetFor(const QString& type) {
    static const QHash<QString, QString> names = {
        {"rectangle", "rect"},
        {"round-rectangle", "roundRect"},
        {"ellipse", "ellipse"},
        {"circle", "ellipse"},
        {"isosceles-triangle", "triangle"},
        {"right-triangle", "rtTriangle"},
        {"diamond", "diamond"},
        {"parallelogram", "parallelogram"},
        {"trapezoid", "trapezoid"},
        {"hexagon", "hexagon"},
        {"octagon", "octagon"},
        {"pentagon", "pentagon"},
        {"cross", "plus"},
        {"star4", "star4"},
        {"star5", "star5"},
        {"star6", "star6"},
        {"star8", "star8"},
        {"star24", "star24"},
        {"right-arrow", "rightArrow"},
        {"left-arrow", "leftArrow"},
        {"up-arrow", "upArrow"},
        {"down-arrow", "downArrow"},
        {"left-right-arrow", "leftRightArrow"},
        {"up-down-arrow", "upDownArrow"},
        {"notched-right-arrow", "notchedRightArrow"},
        {"pentagon-right", "homePlate"},
        {"chevron", "chevron"},
        {"heart", "heart"},
        {"smiley", "smileyFace"},
        {"sun", "sun"},
        {"moon", "moon"},
        {"lightning", "lightningBolt"},
        {"can", "can"},
        {"cube", "cube"},
        {"ring", "donut"},
        {"block-arc", "blockArc"},
        {"frame", "frame"},
        {"paper", "foldedCorner"},
        {"cloud", "cloud"},
        {"flowchart-process", "flowChartProcess"},
        {"flowchart-decision", "flowChartDecision"},
        {"flowchart-terminator", "flowChartTerminator"},
        {"flowchart-data", "flowChartInputOutput"},
        {"flowchart-document", "flowChartDocument"},
        {"flowchart-connector", "flowChartConnector"},
        {"flowchart-alternate-process", "flowChartAlternateProcess"},
        {"flowchart-predefined-process", "flowChartPredefinedProcess"},
        {"flowchart-manual-input", "flowChartManualInput"},
        {"flowchart-preparation", "flowChartPreparation"},
        {"rectangular-callout", "wedgeRectCallout"},
        {"round-rectangular-callout", "wedgeRoundRectCallout"},
        {"round-callout", "wedgeEllipseCallout"},
        {"cloud-callout", "cloudCallout"},
    };
    if (type.startsWith(QLatin1String("ooxml-")))
        return type.mid(6);
    return names.value(type);
}

// draw:transform: "rotate (a) translate (x y)" and friends, applied in order.
QTransform parseTransform(const QString& text) {
    QTransform result;
    int pos = 0;
    for (int guard = 0; guard < 32; ++guard) {
        const int open = text.indexOf(QLatin1Char('('), pos);
        const int close = text.indexOf(QLatin1Char(')'), open + 1);
        if (open < 0 || close < 0)
            break;
        const QString name = text.mid(pos, open - pos).trimmed();
        QStringList args = text.mid(open + 1, close - open - 1)
                               .split(QRegularExpression(QStringLiteral("[ ,]+")), Qt::SkipEmptyParts);
        QTransform t;
        if (name == QLatin1String("rotate") && !args.isEmpty()) {
            // Radians, counter-clockwise on screen.
            t.rotateRadians(-args[0].toDouble());
        } else if (name == QLatin1String("translate") && !args.isEmpty()) {
            t.translate(length(args[0]), args.size() > 1 ? length(args[1]) : 0);
        } else if (name == QLatin1String("scale") && !args.isEmpty()) {
            t.scale(args[0].toDouble(), args.size() > 1 ? args[1].toDouble() : args[0].toDouble());
        } else if (name == QLatin1String("skewX") && !args.isEmpty()) {
            t.shear(std::tan(args[0].toDouble()), 0);
        } else if (name == QLatin1String("matrix") && args.size() == 6) {
            t = QTransform(args[0].toDouble(), args[1].toDouble(), args[2].toDouble(), args[3].toDouble(),
                           length(args[4]), length(args[5]));
        }
        result = result * t;
        pos = close + 1;
    }
    return result;
}

// Position and size of a drawing element, with draw:transform folded into rotation about the centre.
ElementFrame frameOf(const QDomElement& e) {
    ElementFrame frame;
    const double w = std::max(0.0, length(attr(e, Svg, "width")));
    const double h = std::max(0.0, length(attr(e, Svg, "height")));
    const QString transform = attr(e, Draw, "transform");
    if (transform.isEmpty()) {
        frame.bounds = QRectF(length(attr(e, Svg, "x")), length(attr(e, Svg, "y")), w, h);
        return frame;
    }
    QTransform t = QTransform::fromTranslate(length(attr(e, Svg, "x")), length(attr(e, Svg, "y"))) *
                   parseTransform(transform);
    const QPointF centre = t.map(QPointF(w / 2, h / 2));
    frame.bounds = QRectF(centre.x() - w / 2, centre.y() - h / 2, w, h);
    frame.rotation = std::atan2(t.m12(), t.m11()) * 180 / std::numbers::pi;
    return frame;
}

std::vector<GeometryPath> rectangle(QSizeF size) {
    GeometryPath p;
    p.path.addRect(QRectF(QPointF(0, 0), size));
    return {p};
}

// Scales a path from its view box onto the element's size.
QPainterPath fitViewBox(const QPainterPath& path, const QString& viewBox, QSizeF size) {
    const QStringList v = viewBox.split(QRegularExpression(QStringLiteral("[ ,]+")), Qt::SkipEmptyParts);
    if (v.size() != 4)
        return path;
    const double vw = v[2].toDouble(), vh = v[3].toDouble();
    QTransform t;
    t.scale(vw > 0 ? size.width() / vw : 1, vh > 0 ? size.height() / vh : 1);
    t.translate(-v[0].toDouble(), -v[1].toDouble());
    return t.map(path);
}

// A connector the writer stored no path for, from its end points: "standard" connectors bend at
// right angles, "curve" ones sweep; both leave their ends along the longer of the two distances,
// the way connectors leave the sides of the shapes they join.
QPainterPath connectorPath(const QString& type, QPointF a, QPointF b) {
    QPainterPath path(a);
    const bool across = std::abs(b.x() - a.x()) >= std::abs(b.y() - a.y());
    const QPointF middle = (a + b) / 2;
    const QPointF bendA = across ? QPointF(middle.x(), a.y()) : QPointF(a.x(), middle.y());
    const QPointF bendB = across ? QPointF(middle.x(), b.y()) : QPointF(b.x(), middle.y());
    if (type == QLatin1String("standard")) {
        path.lineTo(bendA);
        path.lineTo(bendB);
        path.lineTo(b);
    } else if (type == QLatin1String("curve")) {
        path.cubicTo(bendA, bendB, b);
    } else {
        path.lineTo(b);
    }
    return path;
}

// Which of a table template's cell styles a cell takes, from its place in the table and the
// parts of the template the table turns on. Header rows and columns win over banding.
class TableTemplate {
public:
    TableTemplate(const QDomElement& look, const QDomElement& table) : _look(look) {
        auto on = [&](const char* name) { return attr(table, Table, name) == QLatin1String("true"); };
        _firstRow = on("use-first-row-styles");
        _lastRow = on("use-last-row-styles");
        _firstColumn = on("use-first-column-styles");
        _lastColumn = on("use-last-column-styles");
        _bandRows = on("use-banding-rows-styles");
        _bandColumns = on("use-banding-columns-styles");
    }

    QString styleFor(int row, int rows, int column, int columns) const {
        if (_look.isNull())
            return {};
        const char* part = "body";
        if (_firstRow && row == 0)
            part = "first-row";
        else if (_lastRow && row == rows - 1)
            part = "last-row";
        else if (_firstColumn && column == 0)
            part = "first-column";
        else if (_lastColumn && column == columns - 1)
            part = "last-column";
        else if (_bandRows && row % 2 == 1)
            part = "odd-rows";
        else if (_bandColumns && column % 2 == 1)
            part = "odd-columns";
        QString name = styleOf(part);
        return name.isEmpty() ? styleOf("body") : name;
    }

private:
    QString styleOf(const char* part) const {
        const QDomElement e = firstChild(_look, QString::fromLatin1(part));
        const QString name = attr(e, Table, "style-name");
        return name.isEmpty() ? attr(e, Text, "style-name") : name;
    }

    QDomElement _look;
    bool _firstRow = false, _lastRow = false, _firstColumn = false, _lastColumn = false;
    bool _bandRows = false, _bandColumns = false;
};

// One side of a cell's border ("0.02cm solid #000000"). Presentation programs keep cell
// borders in the paragraph properties as often as in the cell properties; the nearest style
// that says anything about the side decides.
Stroke cellBorder(const OdfStyleChain& chain, const char* side) {
    const QString fo = QString::fromLatin1(Fo);
    QString value;
    for (const QDomElement& s : chain.styles()) {
        for (QDomElement p = s.firstChildElement(); !p.isNull() && value.isEmpty();
             p = p.nextSiblingElement()) {
            if (p.localName() != QLatin1String("table-cell-properties") &&
                p.localName() != QLatin1String("paragraph-properties"))
                continue;
            if (p.hasAttributeNS(fo, QString::fromLatin1(side)))
                value = p.attributeNS(fo, QString::fromLatin1(side));
            else if (p.hasAttributeNS(fo, QStringLiteral("border")))
                value = p.attributeNS(fo, QStringLiteral("border"));
        }
        if (!value.isEmpty())
            break;
    }
    Stroke stroke;
    const QStringList parts = value.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() >= 3 && parts[1] != QLatin1String("none") && parts[1] != QLatin1String("hidden")) {
        const QColor color(parts[2]);
        stroke.visible = color.isValid();
        stroke.width = std::clamp(length(parts[0], 0.75), 0.0, 50.0);
        stroke.color = color;
        if (parts[1] == QLatin1String("dashed"))
            stroke.style = Qt::DashLine;
        else if (parts[1] == QLatin1String("dotted"))
            stroke.style = Qt::DotLine;
    }
    return stroke;
}

// A see-through picture is drawn as a rectangle filled with it at that opacity.
ShapeElement translucentPicture(const PictureElement& picture, double opacity) {
    ShapeElement shape;
    shape.frame = picture.frame;
    shape.geometry = rectangle(picture.frame.bounds.size());
    shape.fill.kind = Fill::Kind::Picture;
    shape.fill.picture = picture.picture;
    // Crops reaching a hair outside the image stay on it.
    shape.fill.sourceCrop = picture.sourceCrop.intersected(QRectF(0, 0, 1, 1));
    if (shape.fill.sourceCrop.isEmpty())
        shape.fill.sourceCrop = QRectF(0, 0, 1, 1);
    shape.fill.alpha = opacity;
    shape.stroke = picture.stroke;
    return shape;
}

} // namespace

OdpShapeReader::OdpShapeReader(const OdpStyles& styles, OdfFields fields, MasterOptions options)
    : _styles(styles), _fields(std::move(fields)), _options(options) {}

void OdpShapeReader::read(const QDomElement& page, std::vector<SlideElement>& out) const {
    readChildren(page, out, 0);
}

void OdpShapeReader::readChildren(const QDomElement& parent, std::vector<SlideElement>& out,
                                  int depth) const {
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        SlideElement element;
        if (!readElement(e, element, depth))
            continue;
        if (auto shadow = shadowOf(e, element))
            out.push_back(std::move(*shadow));
        out.push_back(std::move(element));
    }
}

std::optional<SlideElement> OdpShapeReader::shadowOf(const QDomElement& e,
                                                     const SlideElement& element) const {
    if (e.localName() == QLatin1String("g"))
        return std::nullopt;
    const OdfStyleChain style = shapeStyle(e);
    if (style.property("graphic-properties", Draw, "shadow") != QLatin1String("visible"))
        return std::nullopt;
    QColor color(style.property("graphic-properties", Draw, "shadow-color"));
    if (!color.isValid())
        color = QColor(0x80, 0x80, 0x80);
    color.setAlphaF(
        std::clamp(percent(style.property("graphic-properties", Draw, "shadow-opacity"), 1.0), 0.0, 1.0));
    auto offset = [&](const char* name) {
        const QString v = style.property("graphic-properties", Draw, name);
        return std::clamp(v.isEmpty() ? 0.2 * 72 / 2.54 : length(v, 0), -500.0, 500.0);
    };
    const QPointF shift(offset("shadow-offset-x"), offset("shadow-offset-y"));
    // The shadow is the shape's silhouette in the shadow colour: its fill where it is filled,
    // its outline where it is outlined; text casts none.
    if (const auto* shape = std::get_if<ShapeElement>(&element)) {
        const bool filled = shape->fill.kind != Fill::Kind::None;
        if (!filled && !shape->stroke.visible)
            return std::nullopt;
        ShapeElement shadow;
        shadow.frame = shape->frame;
        shadow.frame.bounds.translate(shift);
        shadow.geometry = shape->geometry;
        if (filled)
            shadow.fill = Fill::solid(color);
        shadow.stroke = shape->stroke;
        shadow.stroke.color = color;
        return shadow;
    }
    if (const auto* picture = std::get_if<PictureElement>(&element)) {
        ShapeElement shadow;
        shadow.frame = picture->frame;
        shadow.frame.bounds.translate(shift);
        GeometryPath path;
        path.path.addRect(QRectF(QPointF(0, 0), picture->frame.bounds.size()));
        shadow.geometry = {path};
        shadow.fill = Fill::solid(color);
        return shadow;
    }
    return std::nullopt;
}

OdfStyleChain OdpShapeReader::shapeStyle(const QDomElement& e) const {
    OdfStyleChain chain;
    const QString presentationStyle = attr(e, Presentation, "style-name");
    // The default style closes the whole chain, after the shape's graphic style.
    if (!presentationStyle.isEmpty()) {
        const OdfStyleChain presentation = _styles.chain(QStringLiteral("presentation"), presentationStyle);
        for (const QDomElement& s : presentation.styles())
            if (s.localName() == QLatin1String("style"))
                chain.append(s);
    }
    // A drawing shape named by its presentation style alone still draws with the standard style.
    QString graphic = attr(e, Draw, "style-name");
    if (graphic.isEmpty() && !presentationStyle.isEmpty() && e.localName() != QLatin1String("frame"))
        graphic = QStringLiteral("standard");
    chain.append(_styles.chain(QStringLiteral("graphic"), graphic));
    return chain;
}

bool OdpShapeReader::skipPlaceholder(const QDomElement& e) const {
    const QString cls = attr(e, Presentation, "class");
    if (_options.isMaster) {
        if (cls.isEmpty())
            return false;
        if (cls == QLatin1String("footer"))
            return !_options.showFooter;
        if (cls == QLatin1String("page-number"))
            return !_options.showPageNumber;
        if (cls == QLatin1String("date-time"))
            return !_options.showDateTime;
        return true; // title, outline, notes... are prompts for the slides
    }
    // An empty placeholder on a slide shows its prompt only while editing.
    return attr(e, Presentation, "placeholder") == QLatin1String("true");
}

bool OdpShapeReader::readElement(const QDomElement& e, SlideElement& out, int depth) const {
    const QString n = e.localName();
    if (n == QLatin1String("g")) {
        if (depth >= MaxGroupDepth)
            return false;
        GroupElement group;
        readChildren(e, group.children, depth + 1);
        if (group.children.empty())
            return false;
        // Children use page coordinates; the group's frame is their bounding box, unscaled.
        QRectF bounds;
        for (const SlideElement& c : group.children)
            std::visit([&](const auto& el) { bounds = bounds.united(el.frame.bounds); }, c);
        group.frame.bounds = bounds;
        group.childSpace = bounds;
        out = std::move(group);
        return true;
    }
    if (skipPlaceholder(e))
        return false;
    if (n == QLatin1String("frame"))
        return readFrame(e, out);
    if (n == QLatin1String("scene"))
        return readScene(e, out);
    return readDrawingShape(e, out);
}

bool OdpShapeReader::readScene(const QDomElement& scene, SlideElement& out) const {
    // Objects without a solid fill of their own take the scene's, then the suite's default blue.
    auto solidColour = [&](const QDomElement& e) {
        const std::optional<Fill> fill = _styles.fill(shapeStyle(e), "graphic-properties");
        return fill && fill->kind == Fill::Kind::Solid ? fill->color : QColor();
    };
    const QColor sceneColour = solidColour(scene);
    auto colourOf = [&](const QDomElement& object) {
        const QColor own = solidColour(object);
        return own.isValid() ? own : sceneColour.isValid() ? sceneColour : QColor(0x72, 0x9f, 0xcf);
    };
    auto property = [&](const QDomElement& object, const char* name) {
        const QString own = shapeStyle(object).property("graphic-properties", Dr3d, name);
        return own.isEmpty() ? shapeStyle(scene).property("graphic-properties", Dr3d, name) : own;
    };
    GroupElement group = projectScene(readOdfScene(scene, {colourOf, property}), frameOf(scene));
    if (group.children.empty())
        return false;
    out = std::move(group);
    return true;
}

bool OdpShapeReader::readFrame(const QDomElement& frame, SlideElement& out) const {
    const ElementFrame position = frameOf(frame);
    const OdfStyleChain style = shapeStyle(frame);
    const QDomElement table = firstChild(frame, QStringLiteral("table"));
    if (!table.isNull())
        return readTable(table, position, out);
    const QDomElement textBox = firstChild(frame, QStringLiteral("text-box"));
    if (!textBox.isNull()) {
        ShapeElement shape;
        shape.frame = position;
        shape.geometry = rectangle(position.bounds.size());
        shape.fill = _styles.fill(style, "graphic-properties").value_or(Fill());
        shape.stroke = _styles.stroke(style);
        TextBody body = readOdfText(textBox, style, _styles, _fields, attr(frame, Draw, "text-style-name"));
        // A text frame's wrap option is about text flowing around it; its own text wraps at
        // its width unless the frame grows with the text.
        body.wrap = style.property("graphic-properties", Draw, "auto-grow-width") != QLatin1String("true");
        if (!body.paragraphs.empty())
            shape.text = std::move(body);
        out = std::move(shape);
        return true;
    }
    // Pictures, and objects shown through their replacement picture. Prefer a raster Qt reads.
    std::shared_ptr<const PictureData> picture;
    std::function<void(const QDomElement&, int)> findImage = [&](const QDomElement& parent, int level) {
        for (QDomElement c = parent.firstChildElement(); !c.isNull() && level < 4;
             c = c.nextSiblingElement()) {
            if (c.localName() == QLatin1String("image")) {
                auto candidate = _styles.picture(attr(c, XLink, "href"));
                if (candidate && (!picture || !picture->canDecode()))
                    picture = candidate;
            } else {
                findImage(c, level + 1);
            }
        }
    };
    findImage(frame, 0);
    // A chart object without a picture of itself is drawn from its own data.
    const QDomElement object = firstChild(frame, QStringLiteral("object"));
    if (!object.isNull() && (!picture || !picture->canDecode())) {
        if (auto chart = readOdfChart(_styles.zip(), attr(object, XLink, "href"), position)) {
            out = std::move(*chart);
            return true;
        }
    }
    if (!picture)
        return false;
    PictureElement element;
    element.frame = position;
    element.picture = picture;
    // Embedded objects show their picture alone; pictures take the frame's line and fill.
    const bool embedded = !object.isNull() || !firstChild(frame, QStringLiteral("object-ole")).isNull();
    if (!embedded) {
        element.stroke = _styles.stroke(style);
        element.background = _styles.fill(style, "graphic-properties").value_or(Fill());
    }
    const QString clip = style.property("graphic-properties", Fo, "clip");
    const QSize natural = picture->naturalSize();
    if (clip.startsWith(QLatin1String("rect(")) && natural.isValid()) {
        // rect(top, right, bottom, left) in lengths of the picture at its natural size.
        const QStringList parts =
            clip.mid(5).chopped(1).split(QRegularExpression(QStringLiteral("[ ,]+")), Qt::SkipEmptyParts);
        if (parts.size() == 4) {
            const double iw = natural.width() * picture->pointsPerPixel(),
                         ih = natural.height() * picture->pointsPerPixel();
            const double t = length(parts[0]) / ih, r = length(parts[1]) / iw, b = length(parts[2]) / ih,
                         l = length(parts[3]) / iw;
            if (1 - l - r > 0.001 && 1 - t - b > 0.001)
                element.sourceCrop = QRectF(l, t, 1 - l - r, 1 - t - b);
        }
    }
    const double opacity =
        std::clamp(percent(style.property("graphic-properties", Draw, "image-opacity"), 1.0), 0.0, 1.0);
    if (opacity < 0.999) {
        out = translucentPicture(element, opacity);
        return true;
    }
    out = std::move(element);
    return true;
}

bool OdpShapeReader::readDrawingShape(const QDomElement& e, SlideElement& out) const {
    const QString n = e.localName();
    ShapeElement shape;
    const OdfStyleChain style = shapeStyle(e);
    bool open = false;
    if (n == QLatin1String("line") || (n == QLatin1String("connector") && attr(e, Svg, "d").isEmpty())) {
        const QPointF a(length(attr(e, Svg, "x1")), length(attr(e, Svg, "y1")));
        const QPointF b(length(attr(e, Svg, "x2")), length(attr(e, Svg, "y2")));
        shape.frame.bounds = QRectF(a, b).normalized();
        GeometryPath p;
        // Connectors are standard ones unless they say otherwise.
        QString type = n == QLatin1String("line") ? QStringLiteral("line") : attr(e, Draw, "type");
        if (type.isEmpty())
            type = QStringLiteral("standard");
        p.path = connectorPath(type, a, b).translated(-shape.frame.bounds.topLeft());
        p.filled = false;
        p.closed = false;
        shape.geometry.push_back(p);
        open = true;
    } else if (n == QLatin1String("connector")) {
        GeometryPath p;
        QPainterPath path = parseSvgPath(attr(e, Svg, "d"));
        const QString viewBox = attr(e, Svg, "viewBox");
        // Connector paths are in 1/100 mm page coordinates when a view box is given.
        if (!viewBox.isEmpty())
            path = QTransform::fromScale(72 / 2540.0, 72 / 2540.0).map(path);
        shape.frame.bounds = path.boundingRect();
        p.path = path.translated(-shape.frame.bounds.topLeft());
        p.filled = false;
        p.closed = false;
        shape.geometry.push_back(p);
        open = true;
    } else if (n == QLatin1String("rect") || n == QLatin1String("ellipse") || n == QLatin1String("circle") ||
               n == QLatin1String("custom-shape") || n == QLatin1String("polygon") ||
               n == QLatin1String("polyline") || n == QLatin1String("path") ||
               n == QLatin1String("caption") || n == QLatin1String("measure")) {
        shape.frame = frameOf(e);
        const QSizeF size = shape.frame.bounds.size();
        if (n == QLatin1String("rect")) {
            const double r = length(attr(e, Draw, "corner-radius"), 0);
            GeometryPath p;
            p.path.addRoundedRect(QRectF(QPointF(0, 0), size), r, r);
            shape.geometry.push_back(p);
        } else if (n == QLatin1String("ellipse") || n == QLatin1String("circle")) {
            GeometryPath p;
            p.path.addEllipse(QRectF(QPointF(0, 0), size));
            shape.geometry.push_back(p);
            shape.textRect = QRectF(size.width() * 0.146, size.height() * 0.146, size.width() * 0.708,
                                    size.height() * 0.708);
        } else if (n == QLatin1String("polygon") || n == QLatin1String("polyline")) {
            QPolygonF polygon;
            for (const QString& pt : attr(e, Draw, "points").split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                const QStringList xy = pt.split(QLatin1Char(','));
                if (xy.size() == 2 && polygon.size() < 100000)
                    polygon << QPointF(xy[0].toDouble(), xy[1].toDouble());
            }
            GeometryPath p;
            p.path.addPolygon(polygon);
            if (n == QLatin1String("polygon"))
                p.path.closeSubpath();
            p.closed = n == QLatin1String("polygon");
            p.filled = p.closed;
            open = !p.closed;
            p.path = fitViewBox(p.path, attr(e, Svg, "viewBox"), size);
            shape.geometry.push_back(p);
        } else if (n == QLatin1String("path")) {
            GeometryPath p;
            p.path = fitViewBox(parseSvgPath(attr(e, Svg, "d")), attr(e, Svg, "viewBox"), size);
            const QString d = attr(e, Svg, "d");
            p.closed = d.contains(QLatin1Char('z')) || d.contains(QLatin1Char('Z'));
            open = !p.closed;
            shape.geometry.push_back(p);
        } else if (n == QLatin1String("custom-shape")) {
            const QDomElement geometry = firstChild(e, QStringLiteral("enhanced-geometry"));
            const QString type = attr(geometry, Draw, "type");
            const QString preset = presetFor(type);
            // The path the writer stored is what it drew; the preset only stands in without one.
            if (auto evaluated = evaluateEnhancedGeometry(geometry, size)) {
                shape.geometry = std::move(evaluated->paths);
                shape.textRect = evaluated->textRect;
            } else if (!preset.isEmpty()) {
                auto result = presetGeometry(preset, size, {});
                shape.geometry = std::move(result.paths);
                shape.textRect = result.textRect;
            } else {
                shape.geometry = rectangle(size); // unknown shapes keep their place and text
            }
            if (attr(geometry, Draw, "mirror-horizontal") == QLatin1String("true"))
                shape.frame.flipH = !shape.frame.flipH;
            if (attr(geometry, Draw, "mirror-vertical") == QLatin1String("true"))
                shape.frame.flipV = !shape.frame.flipV;
        } else {
            shape.geometry = rectangle(size);
        }
    } else {
        return false; // not a drawing element we know
    }
    shape.fill = open ? Fill() : _styles.fill(style, "graphic-properties").value_or(Fill());
    shape.stroke = _styles.stroke(style);
    TextBody body = readOdfText(e, style, _styles, _fields, attr(e, Draw, "text-style-name"));
    if (!body.paragraphs.empty() && body.hasVisibleText()) {
        shape.text = std::move(body);
        // Custom shapes resize to their text unless told not to (LibreOffice's default).
        shape.fitsHeightToText =
            n == QLatin1String("custom-shape") &&
            style.property("graphic-properties", Draw, "auto-grow-height") != QLatin1String("false");
        shape.minHeight = length(style.property("graphic-properties", Fo, "min-height"), 0);
    }
    out = std::move(shape);
    return true;
}

void OdpShapeReader::readCell(const QDomElement& c, const QDomElement& row, const QString& templateStyle,
                              int columnsLeft, TableCell& cell) const {
    cell.colSpan = std::clamp(attr(c, Table, "number-columns-spanned").toInt(), 1, std::max(1, columnsLeft));
    cell.rowSpan = std::max(1, attr(c, Table, "number-rows-spanned").toInt());
    QString cellStyle = attr(c, Table, "style-name");
    if (cellStyle.isEmpty())
        cellStyle = attr(row, Table, "default-cell-style-name");
    // The cell's own style over what the table's template gives its place in the table.
    OdfStyleChain cs = _styles.chain(QStringLiteral("table-cell"), cellStyle, OdpStyles::OwnOnly);
    cs.append(_styles.chain(QStringLiteral("table-cell"), templateStyle));
    cell.fill = _styles.fill(cs, "graphic-properties").value_or(Fill());
    if (cell.fill.kind == Fill::Kind::None) {
        const QColor bg(cs.property("table-cell-properties", Fo, "background-color"));
        if (bg.isValid())
            cell.fill = Fill::solid(bg);
    }
    cell.left = cellBorder(cs, "border-left");
    cell.right = cellBorder(cs, "border-right");
    cell.top = cellBorder(cs, "border-top");
    cell.bottom = cellBorder(cs, "border-bottom");
    cell.text = readOdfText(c, cs, _styles, _fields);
    cell.text.shrinkToFit = false;
}

bool OdpShapeReader::readTable(const QDomElement& table, const ElementFrame& frame, SlideElement& out) const {
    TableElement t;
    t.frame = frame;
    std::vector<QDomElement> rows;
    std::function<void(const QDomElement&, int)> collect = [&](const QDomElement& parent, int level) {
        for (QDomElement c = parent.firstChildElement(); !c.isNull(); c = c.nextSiblingElement()) {
            const QString n = c.localName();
            if (n == QLatin1String("table-column")) {
                const int repeat = std::clamp(attr(c, Table, "number-columns-repeated").toInt(), 1, 1000);
                const OdfStyleChain s =
                    _styles.chain(QStringLiteral("table-column"), attr(c, Table, "style-name"));
                const double w = length(s.property("table-column-properties", Style, "column-width"), 0);
                for (int i = 0; i < repeat && t.columnWidths.size() < 1000; ++i)
                    t.columnWidths.push_back(w);
            } else if (n == QLatin1String("table-row") && rows.size() < 1000) {
                rows.push_back(c);
            } else if (level < 3 &&
                       (n == QLatin1String("table-rows") || n == QLatin1String("table-header-rows") ||
                        n == QLatin1String("table-columns"))) {
                collect(c, level + 1);
            }
        }
    };
    collect(table, 0);
    const std::size_t cols = t.columnWidths.size();
    if (cols == 0 || rows.empty())
        return false;
    // Columns without widths share what the frame leaves.
    double known = 0;
    int unknown = 0;
    for (double w : t.columnWidths)
        (w > 0 ? known += w : ++unknown);
    for (double& w : t.columnWidths)
        if (w <= 0)
            w = std::max(1.0, (frame.bounds.width() - known) / std::max(1, unknown));
    const TableTemplate look(_styles.tableTemplate(attr(table, Table, "template-name")), table);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const QDomElement& row = rows[r];
        const OdfStyleChain rs = _styles.chain(QStringLiteral("table-row"), attr(row, Table, "style-name"));
        t.rowHeights.push_back(
            std::max(0.0, length(rs.property("table-row-properties", Style, "row-height"), 0)));
        std::vector<TableCell> cells;
        forEachChild(row, [&](const QDomElement& c) {
            if (cells.size() >= cols)
                return;
            TableCell cell;
            if (c.localName() == QLatin1String("covered-table-cell")) {
                cell.covered = true;
            } else if (c.localName() == QLatin1String("table-cell")) {
                const QString templateStyle =
                    look.styleFor(int(r), int(rows.size()), int(cells.size()), int(cols));
                readCell(c, row, templateStyle, int(cols - cells.size()), cell);
            } else {
                return;
            }
            cells.push_back(std::move(cell));
        });
        while (cells.size() < cols) {
            TableCell filler;
            filler.covered = true;
            cells.push_back(filler);
        }
        t.rows.push_back(std::move(cells));
    }
    for (std::size_t r = 0; r < t.rows.size(); ++r)
        for (TableCell& cell : t.rows[r])
            cell.rowSpan = std::clamp(cell.rowSpan, 1, int(t.rows.size() - r));
    out = std::move(t);
    return true;
}

} // namespace KX::Tovrin
