#include "platform/brovik/editorcore/pptx/PptxShapeTree.h"

#include "platform/brovik/editorcore/geometry/GeometryDefinition.h"
#include "platform/brovik/editorcore/model/DocumentLoadError.h"
#include "platform/brovik/editorcore/package/XmlPart.h"
#include "platform/brovik/editorcore/pptx/DrawingColor.h"
#include "platform/brovik/editorcore/pptx/DrawingEffects.h"
#include "platform/brovik/editorcore/pptx/DrawingFill.h"
#include "platform/brovik/editorcore/pptx/DrawingText.h"
#include "platform/brovik/editorcore/pptx/OoxmlNames.h"
#include "platform/brovik/editorcore/pptx/PptxChart.h"
#include "platform/brovik/editorcore/pptx/PptxTable.h"
#include "platform/brovik/editorcore/pptx/VmlPreview.h"

#include <cmath>
#include <functional>

namespace KX::Tovrin {

namespace {
constexpr double EmuPerPoint = 12700.0;
constexpr int MaxGroupDepth = 24;
constexpr double MaxCoordinate = 1e7; // points; anything beyond is garbage

double emu(const QDomElement& e, const char* name) {
    return std::clamp(attrDouble(e, QString::fromLatin1(name), 0) / EmuPerPoint, -MaxCoordinate,
                      MaxCoordinate);
}

QDomElement placeholderOf(const QDomElement& shape) {
    for (QDomElement nv = shape.firstChildElement(); !nv.isNull(); nv = nv.nextSiblingElement())
        if (nv.localName().startsWith(QLatin1String("nv")))
            return childPath(nv, {QStringLiteral("nvPr"), QStringLiteral("ph")});
    return {};
}

// Placeholder types as masters know them: a slide's centred title is the master's title, and
// content, subtitle and the typeless kinds all come from its body.
QString masterType(const QString& type) {
    if (type == QLatin1String("ctrTitle") || type == QLatin1String("title"))
        return QStringLiteral("title");
    if (type == QLatin1String("dt") || type == QLatin1String("ftr") || type == QLatin1String("sldNum") ||
        type == QLatin1String("hdr"))
        return type;
    return QStringLiteral("body");
}

QString typeOf(const QDomElement& ph) {
    return ph.attribute(QStringLiteral("type"), QStringLiteral("obj"));
}

QDomElement findPlaceholder(const QDomElement& tree, const QDomElement& ph, bool master) {
    if (tree.isNull() || ph.isNull())
        return {};
    const QString type = typeOf(ph);
    const QString idx = ph.attribute(QStringLiteral("idx"));
    QDomElement byIdx, byType, byMasterType;
    for (QDomElement e = tree.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        const QDomElement other = placeholderOf(e);
        if (other.isNull())
            continue;
        const QString otherType = typeOf(other);
        if (!master && !idx.isEmpty() && other.attribute(QStringLiteral("idx")) == idx && byIdx.isNull())
            byIdx = e;
        if (otherType == type && byType.isNull())
            byType = e;
        if (masterType(otherType) == masterType(type) && byMasterType.isNull())
            byMasterType = e;
    }
    if (!byIdx.isNull())
        return byIdx;
    if (!byType.isNull())
        return byType;
    return byMasterType;
}

QDomElement spPrOf(const QDomElement& shape) {
    return firstChild(shape, QStringLiteral("spPr"), QStringLiteral("grpSpPr"));
}

// The first effect list along the inheritance chain decides the shadow; without one, the
// style's effect reference does.
Shadow inheritedShadow(const std::vector<PptxShapeTree::Source>& chain, const QDomElement& style,
                       const DrawingContext& styleCtx) {
    for (const PptxShapeTree::Source& s : chain)
        if (auto shadow = readShadow(spPrOf(s.element), *s.ctx))
            return *shadow;
    const QDomElement ref = firstChild(style, QStringLiteral("effectRef"));
    if (ref.isNull())
        return {};
    const QColor colour = readColor(ref, styleCtx).value_or(QColor(Qt::black));
    return themeShadow(int(attrInt(ref, QStringLiteral("idx"), 0)), colour, styleCtx).value_or(Shadow());
}

// Like the shadow, the first effect list along the chain decides the overlay.
std::optional<FillOverlay> inheritedFillOverlay(const std::vector<PptxShapeTree::Source>& chain) {
    for (const PptxShapeTree::Source& s : chain) {
        const QDomElement effectLst = firstChild(spPrOf(s.element), QStringLiteral("effectLst"));
        if (!effectLst.isNull())
            return readFillOverlay(effectLst, *s.ctx);
    }
    return std::nullopt;
}
} // namespace

bool readTransform(const QDomElement& xfrm, ElementFrame& frame) {
    const QDomElement off = firstChild(xfrm, QStringLiteral("off"));
    const QDomElement ext = firstChild(xfrm, QStringLiteral("ext"));
    if (off.isNull() || ext.isNull())
        return false;
    frame.bounds =
        QRectF(emu(off, "x"), emu(off, "y"), std::max(0.0, emu(ext, "cx")), std::max(0.0, emu(ext, "cy")));
    frame.rotation = std::fmod(attrDouble(xfrm, QStringLiteral("rot"), 0) / 60000.0, 360.0);
    frame.flipH = attrBool(xfrm, QStringLiteral("flipH"), false);
    frame.flipV = attrBool(xfrm, QStringLiteral("flipV"), false);
    return true;
}

PptxShapeTree::PptxShapeTree(const SlideLayers& layers, Level level)
    : _layers(layers), _level(level), _ctx(level == Level::Slide    ? layers.slide
                                           : level == Level::Layout ? layers.layout
                                                                    : layers.master) {}

void PptxShapeTree::read(const QDomElement& tree, std::vector<SlideElement>& out) const {
    readChildren(tree, out, 0);
    // Older files keep ActiveX controls beside the shape tree, drawn by their VML preview.
    forEachChild(firstChild(tree.parentNode().toElement(), QStringLiteral("controls")),
                 QStringLiteral("control"), [&](const QDomElement& control) {
                     if (!firstChild(control, QStringLiteral("pic")).isNull())
                         readElement(firstChild(control, QStringLiteral("pic")), out, 0);
                     else
                         readVmlPreview(control.attribute(QStringLiteral("spid")), std::nullopt, out);
                 });
}

bool PptxShapeTree::readVmlPreview(const QString& shapeId, const std::optional<ElementFrame>& frame,
                                   std::vector<SlideElement>& out) const {
    OoxmlPackage& package = *_ctx.package;
    const QString vmlPart = package.targetOfType(_ctx.part, QStringLiteral("vmlDrawing"));
    if (vmlPart.isEmpty())
        return false;
    const auto preview = findVmlPreview(package.zip().tryRead(vmlPart, 16 << 20), shapeId);
    if (!preview)
        return false;
    PictureElement picture;
    picture.picture = package.picture(package.target(vmlPart, preview->relationshipId));
    if (!picture.picture)
        return false;
    if (frame)
        picture.frame = *frame;
    else if (!preview->bounds.isEmpty())
        picture.frame.bounds = preview->bounds;
    else
        return false;
    out.push_back(std::move(picture));
    return true;
}

void PptxShapeTree::readChildren(const QDomElement& parent, std::vector<SlideElement>& out, int depth) const {
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        readElement(e, out, depth);
}

void PptxShapeTree::readElement(const QDomElement& e, std::vector<SlideElement>& out, int depth) const {
    const QString n = e.localName();
    SlideElement element;
    if (n == QLatin1String("sp") || n == QLatin1String("cxnSp")) {
        if (readShape(e, element))
            out.push_back(std::move(element));
    } else if (n == QLatin1String("pic")) {
        if (readPicture(e, {}, element))
            out.push_back(std::move(element));
    } else if (n == QLatin1String("grpSp")) {
        if (depth < MaxGroupDepth && readGroup(e, element, depth + 1))
            out.push_back(std::move(element));
    } else if (n == QLatin1String("graphicFrame")) {
        readGraphicFrame(e, out, depth);
    } else if (n == QLatin1String("AlternateContent")) {
        // The fallback is what every consumer can show; choices carry extensions we do not read.
        QDomElement pick = firstChild(e, QStringLiteral("Fallback"));
        if (pick.isNull())
            pick = firstChild(e, QStringLiteral("Choice"));
        if (depth < MaxGroupDepth)
            readChildren(pick, out, depth + 1);
    }
    // Anything else (content parts, extension elements) is skipped.
}

std::vector<PptxShapeTree::Source> PptxShapeTree::inheritance(const QDomElement& shape) const {
    std::vector<Source> chain{{shape, &_ctx}};
    const QDomElement ph = placeholderOf(shape);
    if (ph.isNull() || _level == Level::Master)
        return chain;
    QDomElement masterSource = ph;
    if (_level == Level::Slide) {
        const QDomElement layoutShape = findPlaceholder(_layers.layoutTree, ph, false);
        if (!layoutShape.isNull()) {
            chain.push_back({layoutShape, &_layers.layout});
            masterSource = placeholderOf(layoutShape);
        }
    }
    const QDomElement masterShape = findPlaceholder(_layers.masterTree, masterSource, true);
    if (!masterShape.isNull())
        chain.push_back({masterShape, &_layers.master});
    return chain;
}

bool PptxShapeTree::readShape(const QDomElement& sp, SlideElement& out) const {
    const QDomElement ph = placeholderOf(sp);
    if (!ph.isNull() && _level != Level::Slide)
        return false; // layout and master placeholders only shape what slides put in them
    const auto chain = inheritance(sp);

    ShapeElement shape;
    bool positioned = false;
    for (const Source& s : chain)
        if (readTransform(firstChild(spPrOf(s.element), QStringLiteral("xfrm")), shape.frame)) {
            positioned = true;
            break;
        }
    if (!positioned)
        return false;

    // Geometry
    const QSizeF size = shape.frame.bounds.size();
    GeometryDefinition::Result geometry;
    bool haveGeometry = false;
    for (const Source& s : chain) {
        const QDomElement spPr = spPrOf(s.element);
        const QDomElement prst = firstChild(spPr, QStringLiteral("prstGeom"));
        if (!prst.isNull()) {
            std::map<QString, QString> adjust;
            forEachChild(
                firstChild(prst, QStringLiteral("avLst")), QStringLiteral("gd"), [&](const QDomElement& gd) {
                    adjust[gd.attribute(QStringLiteral("name"))] = gd.attribute(QStringLiteral("fmla"));
                });
            geometry = presetGeometry(prst.attribute(QStringLiteral("prst")), size, adjust);
            haveGeometry = true;
            break;
        }
        const QDomElement cust = firstChild(spPr, QStringLiteral("custGeom"));
        if (!cust.isNull()) {
            geometry = GeometryDefinition::fromXml(cust).evaluate(size, {});
            haveGeometry = true;
            break;
        }
    }
    if (!haveGeometry)
        geometry = presetGeometry(QStringLiteral("rect"), size, {});
    shape.geometry = std::move(geometry.paths);
    shape.textRect = geometry.textRect;

    // Style references give the defaults that explicit properties override.
    QDomElement style;
    const DrawingContext* styleCtx = &_ctx;
    for (const Source& s : chain) {
        style = firstChild(s.element, QStringLiteral("style"));
        if (!style.isNull()) {
            styleCtx = s.ctx;
            break;
        }
    }
    auto refColor = [&](const QString& name) {
        return readColor(firstChild(style, name), *styleCtx).value_or(QColor(Qt::black));
    };

    bool haveFill = false;
    for (const Source& s : chain)
        if (auto fill = readFill(spPrOf(s.element), *s.ctx)) {
            shape.fill = *fill;
            haveFill = true;
            break;
        }
    if (!haveFill && !style.isNull()) {
        const QDomElement ref = firstChild(style, QStringLiteral("fillRef"));
        if (auto fill = themeFill(int(attrInt(ref, QStringLiteral("idx"), 0)),
                                  refColor(QStringLiteral("fillRef")), *styleCtx))
            shape.fill = *fill;
    }
    if (!style.isNull()) {
        const QDomElement ref = firstChild(style, QStringLiteral("lnRef"));
        if (auto stroke = themeStroke(int(attrInt(ref, QStringLiteral("idx"), 0)),
                                      refColor(QStringLiteral("lnRef")), *styleCtx))
            shape.stroke = *stroke;
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        shape.stroke =
            readStroke(firstChild(spPrOf(it->element), QStringLiteral("ln")), *it->ctx, shape.stroke);
    shape.shadow = inheritedShadow(chain, style, *styleCtx);
    if (shape.fill.isVisible())
        shape.overlay = inheritedFillOverlay(chain);

    // Text: a placeholder the slide leaves empty shows nothing, not the layout's prompt.
    const QDomElement txBody = firstChild(sp, QStringLiteral("txBody"));
    if (!txBody.isNull()) {
        TextStyleSources sources;
        if (!style.isNull()) {
            const QDomElement fontRef = firstChild(style, QStringLiteral("fontRef"));
            sources.fontRefColor = readColor(fontRef, *styleCtx);
            const QString idx = fontRef.attribute(QStringLiteral("idx"));
            if (idx == QLatin1String("major"))
                sources.fontRefFamily = QStringLiteral("+mj-lt");
            else if (idx == QLatin1String("minor"))
                sources.fontRefFamily = QStringLiteral("+mn-lt");
        }
        for (std::size_t i = 1; i < chain.size(); ++i) {
            const QDomElement body = firstChild(chain[i].element, QStringLiteral("txBody"));
            sources.listStyles.push_back(firstChild(body, QStringLiteral("lstStyle")));
            sources.bodyProperties.push_back(firstChild(body, QStringLiteral("bodyPr")));
        }
        if (!ph.isNull()) {
            QString type = typeOf(ph);
            for (const Source& s : chain)
                if (placeholderOf(s.element).hasAttribute(QStringLiteral("type")))
                    type = typeOf(placeholderOf(s.element));
            const QString mt = masterType(type);
            const QString category = mt == QLatin1String("title")  ? QStringLiteral("titleStyle")
                                     : mt == QLatin1String("body") ? QStringLiteral("bodyStyle")
                                                                   : QStringLiteral("otherStyle");
            sources.listStyles.push_back(firstChild(_layers.masterTextStyles, category));
            sources.listStyles.push_back(_layers.defaultTextStyle);
        } else {
            // Text boxes follow the presentation's defaults; the master's "other" style fills gaps.
            sources.listStyles.push_back(_layers.defaultTextStyle);
            sources.listStyles.push_back(firstChild(_layers.masterTextStyles, QStringLiteral("otherStyle")));
        }
        TextBody body = readTextBody(txBody, sources, _ctx);
        if (ph.isNull() || body.hasVisibleText())
            shape.text = std::move(body);
    }
    if (shape.geometry.empty() && !shape.text)
        return false;
    out = std::move(shape);
    return true;
}

bool PptxShapeTree::readPicture(const QDomElement& pic, const QDomElement& xfrmOverride,
                                SlideElement& out) const {
    if (!placeholderOf(pic).isNull() && _level != Level::Slide)
        return false;
    const auto chain = inheritance(pic);
    PictureElement picture;
    bool positioned = readTransform(xfrmOverride, picture.frame);
    for (const Source& s : chain) {
        if (positioned)
            break;
        positioned = readTransform(firstChild(spPrOf(s.element), QStringLiteral("xfrm")), picture.frame);
    }
    if (!positioned)
        return false;
    const QDomElement blipFill = firstChild(pic, QStringLiteral("blipFill"));
    const QDomElement blip = firstChild(blipFill, QStringLiteral("blip"));
    const QString id = attrNS(blip, Ooxml::Relationships, QStringLiteral("embed"));
    picture.picture = _ctx.package->picture(_ctx.package->target(_ctx.part, id));
    if (!picture.picture)
        return false;
    if (const std::optional<QRectF> crop = readSourceRect(blipFill))
        picture.sourceCrop = *crop;
    picture.recolor = readBlipRecolor(blip, _ctx);
    picture.shadow = inheritedShadow(chain, firstChild(pic, QStringLiteral("style")), _ctx);
    const QDomElement spPr = spPrOf(pic);
    picture.background = readFill(spPr, _ctx).value_or(Fill());
    const QDomElement prst = firstChild(spPr, QStringLiteral("prstGeom"));
    const QString prstName = prst.attribute(QStringLiteral("prst"), QStringLiteral("rect"));
    if (prstName != QLatin1String("rect")) {
        std::map<QString, QString> adjust;
        forEachChild(firstChild(prst, QStringLiteral("avLst")), QStringLiteral("gd"),
                     [&](const QDomElement& gd) {
                         adjust[gd.attribute(QStringLiteral("name"))] = gd.attribute(QStringLiteral("fmla"));
                     });
        const auto geometry = presetGeometry(prstName, picture.frame.bounds.size(), adjust);
        QPainterPath clip;
        for (const GeometryPath& p : geometry.paths)
            if (p.filled)
                clip.addPath(p.path);
        if (!clip.isEmpty())
            picture.clip = clip;
    }
    QDomElement style = firstChild(pic, QStringLiteral("style"));
    if (!style.isNull()) {
        const QDomElement ref = firstChild(style, QStringLiteral("lnRef"));
        if (auto stroke = themeStroke(int(attrInt(ref, QStringLiteral("idx"), 0)),
                                      readColor(ref, _ctx).value_or(QColor(Qt::black)), _ctx))
            picture.stroke = *stroke;
    }
    picture.stroke = readStroke(firstChild(spPr, QStringLiteral("ln")), _ctx, picture.stroke);
    out = std::move(picture);
    return true;
}

bool PptxShapeTree::readGroup(const QDomElement& grp, SlideElement& out, int depth) const {
    GroupElement group;
    const QDomElement xfrm = firstChild(firstChild(grp, QStringLiteral("grpSpPr")), QStringLiteral("xfrm"));
    if (!readTransform(xfrm, group.frame))
        return false;
    const QDomElement chOff = firstChild(xfrm, QStringLiteral("chOff"));
    const QDomElement chExt = firstChild(xfrm, QStringLiteral("chExt"));
    group.childSpace = chOff.isNull() || chExt.isNull()
                           ? group.frame.bounds
                           : QRectF(emu(chOff, "x"), emu(chOff, "y"), emu(chExt, "cx"), emu(chExt, "cy"));
    readChildren(grp, group.children, depth);
    if (group.children.empty())
        return false;
    out = std::move(group);
    return true;
}

bool PptxShapeTree::readDiagram(const QDomElement& relIds, const ElementFrame& position,
                                std::vector<SlideElement>& out) const {
    // SmartArt: the authoring program keeps a drawing of the laid-out diagram beside its data;
    // the data model names it. That drawing is an ordinary shape tree relative to the frame.
    OoxmlPackage& package = *_ctx.package;
    QString drawingPart;
    const QString dataPart =
        package.target(_ctx.part, attrNS(relIds, Ooxml::Relationships, QStringLiteral("dm")));
    try {
        if (!dataPart.isEmpty() && package.zip().contains(dataPart)) {
            const QDomElement ext =
                childPath(package.xml(dataPart).documentElement(),
                          {QStringLiteral("extLst"), QStringLiteral("ext"), QStringLiteral("dataModelExt")});
            drawingPart = package.target(_ctx.part, ext.attribute(QStringLiteral("relId")));
        }
        if (drawingPart.isEmpty() || !package.zip().contains(drawingPart))
            return false;
        const QDomElement tree =
            firstChild(package.xml(drawingPart).documentElement(), QStringLiteral("spTree"));
        SlideLayers layers = _layers;
        (_level == Level::Slide    ? layers.slide
         : _level == Level::Layout ? layers.layout
                                   : layers.master)
            .part = drawingPart;
        GroupElement group;
        group.frame = position;
        group.childSpace = QRectF(QPointF(0, 0), position.bounds.size());
        PptxShapeTree(layers, _level).readChildren(tree, group.children, MaxGroupDepth - 4);
        if (group.children.empty())
            return false;
        out.emplace_back(std::in_place_type<GroupElement>, std::move(group));
        return true;
    } catch (const DocumentLoadError&) {
        return false; // a damaged diagram is skipped like any unknown element
    }
}

bool PptxShapeTree::readGraphicFrame(const QDomElement& frame, std::vector<SlideElement>& out,
                                     int depth) const {
    ElementFrame position;
    if (!readTransform(firstChild(frame, QStringLiteral("xfrm")), position))
        return false;
    const QDomElement data = childPath(frame, {QStringLiteral("graphic"), QStringLiteral("graphicData")});
    const QDomElement tbl = firstChild(data, QStringLiteral("tbl"));
    if (!tbl.isNull()) {
        TableElement table = readTable(tbl, _layers, _ctx);
        table.frame = position;
        if (table.rows.empty())
            return false;
        out.push_back(std::move(table));
        return true;
    }
    const QDomElement diagram = firstChild(data, QStringLiteral("relIds"));
    if (!diagram.isNull())
        return readDiagram(diagram, position, out);
    const QDomElement chart = firstChild(data, QStringLiteral("chart"));
    if (!chart.isNull()) {
        if (auto group =
                readChart(chart, position, _ctx, [this](const QDomElement& t, auto& o) { read(t, o); })) {
            out.push_back(std::move(*group));
            return true;
        }
        return false;
    }
    // Embedded objects carry a picture of themselves; show that.
    std::function<QDomElement(const QDomElement&, int)> findPic = [&](const QDomElement& e,
                                                                      int level) -> QDomElement {
        if (level > 8)
            return {};
        for (QDomElement c = e.firstChildElement(); !c.isNull(); c = c.nextSiblingElement()) {
            if (c.localName() == QLatin1String("pic"))
                return c;
            QDomElement found = findPic(c, level + 1);
            if (!found.isNull())
                return found;
        }
        return {};
    };
    const QDomElement pic = findPic(data, 0);
    if (!pic.isNull() && depth < MaxGroupDepth) {
        SlideElement element;
        QDomElement xfrm = firstChild(frame, QStringLiteral("xfrm"));
        if (readPicture(pic, xfrm, element)) {
            out.push_back(std::move(element));
            return true;
        }
    }
    // Legacy objects name their preview in the part's VML drawing.
    for (const char* kind : {"oleObj", "control"}) {
        const QDomElement legacy = firstChild(data, QString::fromLatin1(kind));
        if (!legacy.isNull())
            return readVmlPreview(legacy.attribute(QStringLiteral("spid")), position, out);
    }
    return false;
}

} // namespace KX::Tovrin
