#include "platform/brovik/editorcore/odp/OdpStyles.h"

#include "platform/brovik/editorcore/odp/OdfNames.h"
#include "platform/brovik/editorcore/package/XmlPart.h"

#include <QDir>
#include <cmath>

namespace KX::Tovrin {

namespace {
constexpr int MaxParentDepth = 32;
constexpr qint64 MaxPictureSize = 128ll << 20;

QColor colorOf(const QString& value, const QColor& fallback) {
    const QColor c(value.trimmed());
    return c.isValid() ? c : fallback;
}

// The closest line end to a marker, by its name (the programs' own marker names say what they
// are) or, for names of their own, by its outline.
LineEnd::Kind markerKind(const QDomElement& marker, const QString& name) {
    using namespace Odf;
    QString display = attr(marker, Draw, "display-name");
    if (display.isEmpty())
        display = QString(name).replace(QLatin1String("_20_"), QLatin1String(" "));
    display = display.toLower();
    if (display.contains(QLatin1String("circle")) || display.contains(QLatin1String("oval")))
        return LineEnd::Kind::Oval;
    if (display.contains(QLatin1String("square")) || display.contains(QLatin1String("diamond")))
        return LineEnd::Kind::Diamond;
    if (display.contains(QLatin1String("concave")))
        return LineEnd::Kind::Stealth;
    if (display.contains(QLatin1String("line arrow")) || display.contains(QLatin1String("line short")) ||
        display.contains(QLatin1String("half arrow")))
        return LineEnd::Kind::Arrow;
    const QString d = attr(marker, Svg, "d");
    if (d.contains(QLatin1Char('c'), Qt::CaseInsensitive) ||
        d.contains(QLatin1Char('a'), Qt::CaseInsensitive))
        return LineEnd::Kind::Oval;
    return LineEnd::Kind::Triangle;
}

// A marker's length over its width, from its view box.
double markerAspect(const QDomElement& marker) {
    const QStringList box =
        Odf::attr(marker, Odf::Svg, "viewBox").split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (box.size() != 4 || box[2].toDouble() <= 0 || box[3].toDouble() <= 0)
        return 1;
    return std::clamp(box[3].toDouble() / box[2].toDouble(), 0.25, 4.0);
}

Fill gradientFill(const QDomElement& g, double opacity) {
    using namespace Odf;
    Fill fill;
    QColor start = colorOf(attr(g, Draw, "start-color"), Qt::black);
    QColor end = colorOf(attr(g, Draw, "end-color"), Qt::white);
    auto intensity = [](QColor c, double f) {
        return QColor::fromRgbF(c.redF() * f, c.greenF() * f, c.blueF() * f, c.alphaF());
    };
    start = intensity(start, std::clamp(percent(attr(g, Draw, "start-intensity"), 1.0), 0.0, 1.0));
    end = intensity(end, std::clamp(percent(attr(g, Draw, "end-intensity"), 1.0), 0.0, 1.0));
    start.setAlphaF(opacity);
    end.setAlphaF(opacity);
    const QString style = attr(g, Draw, "style");
    const double border = std::clamp(percent(attr(g, Draw, "border"), 0.0), 0.0, 0.99);
    // Angles are tenths of a degree (or carry a unit), counter-clockwise; 0 runs top to bottom.
    QString angleText = attr(g, Draw, "angle");
    double angle = 0;
    if (angleText.endsWith(QLatin1String("deg")))
        angle = angleText.chopped(3).toDouble();
    else if (angleText.endsWith(QLatin1String("rad")))
        angle = angleText.chopped(3).toDouble() * 180 / 3.14159265358979;
    else
        angle = angleText.toDouble() / 10.0;
    if (style == QLatin1String("radial") || style == QLatin1String("ellipsoid") ||
        style == QLatin1String("square") || style == QLatin1String("rectangular")) {
        fill.kind = Fill::Kind::RadialGradient;
        fill.focus = QPointF(std::clamp(percent(attr(g, Draw, "cx"), 0.5), 0.0, 1.0),
                             std::clamp(percent(attr(g, Draw, "cy"), 0.5), 0.0, 1.0));
        // The start colour is at the rim, the end colour at the centre.
        fill.stops = {{0, end}, {1 - border, start}, {1, start}};
    } else {
        fill.kind = Fill::Kind::LinearGradient;
        fill.angle = 90 - angle;
        if (style == QLatin1String("axial"))
            fill.stops = {{0, end}, {0.5, start}, {1, end}};
        else
            fill.stops = {{0, start}, {border, start}, {1, end}};
    }
    return fill;
}

// Tiles hang from a reference point of the area (the authoring program's default is its centre,
// with a tile centred on it), moved by a share of the tile's own size.
void placeTiles(Fill& fill, const OdfStyleChain& chain, const char* props) {
    using namespace Odf;
    const QString point = chain.property(props, Draw, "fill-image-ref-point");
    const double x = point.endsWith(QLatin1String("left"))    ? 0
                     : point.endsWith(QLatin1String("right")) ? 1
                                                              : 0.5;
    const double y = point.startsWith(QLatin1String("top"))      ? 0
                     : point.startsWith(QLatin1String("bottom")) ? 1
                                                                 : 0.5;
    fill.tileAlign = QPointF(x, y);
    fill.tileShift =
        QPointF(std::clamp(percent(chain.property(props, Draw, "fill-image-ref-point-x"), 0.0), -1.0, 1.0),
                std::clamp(percent(chain.property(props, Draw, "fill-image-ref-point-y"), 0.0), -1.0, 1.0));
}
} // namespace

QString OdfStyleChain::property(const char* propertiesElement, const char* ns, const char* name) const {
    const QString element = QString::fromLatin1(propertiesElement);
    const QString nsUri = QString::fromLatin1(ns);
    const QString attrName = QString::fromLatin1(name);
    for (const QDomElement& s : _styles)
        for (QDomElement p = s.firstChildElement(); !p.isNull(); p = p.nextSiblingElement())
            if (p.localName() == element && p.hasAttributeNS(nsUri, attrName))
                return p.attributeNS(nsUri, attrName);
    return {};
}

QDomElement OdfStyleChain::propertyChild(const char* propertiesElement, const char* child) const {
    const QString element = QString::fromLatin1(propertiesElement);
    for (const QDomElement& s : _styles)
        for (QDomElement p = s.firstChildElement(); !p.isNull(); p = p.nextSiblingElement())
            if (p.localName() == element) {
                QDomElement c = firstChild(p, QString::fromLatin1(child));
                if (!c.isNull())
                    return c;
            }
    return {};
}

OdpStyles::OdpStyles(const ZipReader& zip, const QDomDocument& content, const QDomDocument& styles)
    : _zip(zip) {
    using namespace Odf;
    // Automatic styles of a part win over same-named ones elsewhere, as seen from that part.
    auto addStyle = [](QHash<QString, QDomElement>& into, const QString& key, const QDomElement& e) {
        if (!into.contains(key))
            into.insert(key, e);
    };
    enum class Part { Content, StylesAutomatic, Common };
    auto collect = [&](const QDomElement& container, Part part) {
        for (QDomElement e = container.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
            const QString n = e.localName();
            if (n == QLatin1String("style")) {
                const QString key = attr(e, Style, "family") + QLatin1Char('/') + attr(e, Style, "name");
                if (part == Part::Content) {
                    addStyle(_styles, key, e);
                } else if (part == Part::StylesAutomatic) {
                    addStyle(_masterStyles, key, e);
                } else {
                    addStyle(_styles, key, e);
                    addStyle(_masterStyles, key, e);
                }
            } else if (n == QLatin1String("default-style")) {
                _defaults.insert(attr(e, Style, "family"), e);
            } else if (n == QLatin1String("list-style")) {
                if (!_listStyles.contains(attr(e, Style, "name")))
                    _listStyles.insert(attr(e, Style, "name"), e);
            } else if (n == QLatin1String("table-template")) {
                // Older files name templates with text:style-name, newer ones with table:name.
                QString name = attr(e, Table, "name");
                if (name.isEmpty())
                    name = attr(e, Text, "style-name");
                if (!name.isEmpty() && !_tableTemplates.contains(name))
                    _tableTemplates.insert(name, e);
            } else if (n == QLatin1String("page-layout")) {
                _pageLayouts.insert(attr(e, Style, "name"), e);
            } else if (n == QLatin1String("gradient")) {
                _gradients.insert(attr(e, Draw, "name"), e);
            } else if (n == QLatin1String("fill-image")) {
                _fillImages.insert(attr(e, Draw, "name"), e);
            } else if (n == QLatin1String("hatch")) {
                _hatches.insert(attr(e, Draw, "name"), e);
            } else if (n == QLatin1String("marker")) {
                _markers.insert(attr(e, Draw, "name"), e);
            }
        }
    };
    const QDomElement contentRoot = content.documentElement();
    const QDomElement stylesRoot = styles.documentElement();
    collect(firstChild(contentRoot, QStringLiteral("automatic-styles")), Part::Content);
    collect(firstChild(stylesRoot, QStringLiteral("automatic-styles")), Part::StylesAutomatic);
    collect(firstChild(stylesRoot, QStringLiteral("styles")), Part::Common);
    // Either part's leftovers as a last resort for files that refer across parts.
    for (auto it = _masterStyles.constBegin(); it != _masterStyles.constEnd(); ++it)
        addStyle(_styles, it.key(), it.value());
    for (auto it = _styles.constBegin(); it != _styles.constEnd(); ++it)
        addStyle(_masterStyles, it.key(), it.value());
    for (const QDomElement& root : {stylesRoot, contentRoot})
        forEachChild(firstChild(root, QStringLiteral("font-face-decls")), QStringLiteral("font-face"),
                     [&](const QDomElement& f) {
                         QString family = attr(f, Svg, "font-family");
                         family.remove(QLatin1Char('\'')).remove(QLatin1Char('"'));
                         _fonts.insert(attr(f, Style, "name"), family.trimmed());
                     });
    forEachChild(firstChild(stylesRoot, QStringLiteral("master-styles")), QStringLiteral("master-page"),
                 [&](const QDomElement& m) {
                     if (_firstMaster.isNull())
                         _firstMaster = m;
                     _masterPages.insert(attr(m, Style, "name"), m);
                 });
}

OdpStyles OdpStyles::forMasterPages() const {
    OdpStyles view(*this);
    view._masterScope = true;
    return view;
}

QDomElement OdpStyles::find(const QString& family, const QString& name) const {
    return (_masterScope ? _masterStyles : _styles).value(family + QLatin1Char('/') + name);
}

OdfStyleChain OdpStyles::chain(const QString& family, const QString& name, Defaults defaults) const {
    OdfStyleChain chain;
    QString current = name;
    for (int depth = 0; depth < MaxParentDepth && !current.isEmpty(); ++depth) {
        const QDomElement s = find(family, current);
        if (s.isNull())
            break;
        chain.append(s);
        current = Odf::attr(s, Odf::Style, "parent-style-name");
        // A graphic style with no parent still inherits the document's "standard" style.
        if (current.isEmpty() && family == QLatin1String("graphic") && name != QLatin1String("standard") &&
            Odf::attr(s, Odf::Style, "name") != QLatin1String("standard"))
            current = QStringLiteral("standard");
    }
    if (defaults == OwnOnly)
        return chain;
    const QDomElement def =
        _defaults.value(family == QLatin1String("presentation") ? QStringLiteral("graphic") : family);
    if (!def.isNull())
        chain.append(def);
    return chain;
}

QDomElement OdpStyles::listStyle(const QString& name) const {
    return _listStyles.value(name);
}

QDomElement OdpStyles::tableTemplate(const QString& name) const {
    return _tableTemplates.value(name);
}

QDomElement OdpStyles::masterPage(const QString& name) const {
    return _masterPages.value(name);
}

QDomElement OdpStyles::firstMasterPage() const {
    return _firstMaster;
}

QDomElement OdpStyles::pageLayout(const QString& name) const {
    return _pageLayouts.value(name);
}

QString OdpStyles::fontFamily(const QString& fontName) const {
    return _fonts.value(fontName, fontName);
}

std::optional<Fill> OdpStyles::fill(const OdfStyleChain& chain, const char* props) const {
    using namespace Odf;
    const QString kind = chain.property(props, Draw, "fill");
    if (kind.isEmpty())
        return std::nullopt;
    const double opacity = std::clamp(percent(chain.property(props, Draw, "opacity"), 1.0), 0.0, 1.0);
    if (kind == QLatin1String("none"))
        return Fill();
    if (kind == QLatin1String("solid")) {
        QColor c = colorOf(chain.property(props, Draw, "fill-color"), QColor(0x72, 0x9f, 0xcf));
        c.setAlphaF(opacity);
        return Fill::solid(c);
    }
    if (kind == QLatin1String("gradient")) {
        const QDomElement g = _gradients.value(chain.property(props, Draw, "fill-gradient-name"));
        if (g.isNull())
            return Fill();
        return gradientFill(g, opacity);
    }
    if (kind == QLatin1String("bitmap")) {
        const QDomElement image = _fillImages.value(chain.property(props, Draw, "fill-image-name"));
        Fill fill;
        fill.picture = picture(attr(image, XLink, "href"));
        if (!fill.picture)
            return Fill();
        fill.kind = Fill::Kind::Picture;
        const QString repeat = chain.property(props, Style, "repeat");
        fill.tile = repeat.isEmpty() || repeat == QLatin1String("repeat");
        fill.tileScale = fill.picture->pointsPerPixel(); // tiles keep the picture's own size unless sized
        const QString width = chain.property(props, Draw, "fill-image-width");
        const int pixels = fill.picture->naturalSize().width();
        if (width.endsWith(QLatin1Char('%')))
            fill.tileScale *= std::clamp(percent(width, 1.0), 0.01, 100.0);
        else if (const double points = length(width, 0); points > 0 && pixels > 0)
            fill.tileScale = std::clamp(points / pixels, 1e-3, 1e3);
        if (fill.tile)
            placeTiles(fill, chain, props);
        fill.alpha = opacity;
        return fill;
    }
    if (kind == QLatin1String("hatch")) {
        const QDomElement hatch = _hatches.value(chain.property(props, Draw, "fill-hatch-name"));
        Fill fill;
        fill.kind = Fill::Kind::Hatch;
        const bool solid = chain.property(props, Draw, "fill-hatch-solid") == QLatin1String("true");
        fill.color =
            solid ? colorOf(chain.property(props, Draw, "fill-color"), Qt::white) : QColor(Qt::transparent);
        fill.hatchColor = colorOf(attr(hatch, Draw, "color"), Qt::black);
        if (solid)
            fill.color.setAlphaF(opacity);
        fill.hatchColor.setAlphaF(opacity);
        fill.hatchSpacing = length(attr(hatch, Draw, "distance"), 6);
        // Rotations are tenths of a degree unless they carry a unit.
        const QString rotation = attr(hatch, Draw, "rotation");
        fill.hatchAngle = rotation.endsWith(QLatin1String("deg")) ? rotation.chopped(3).toDouble()
                                                                  : rotation.toDouble() / 10;
        const QString style = attr(hatch, Draw, "style");
        fill.hatchSets = style == QLatin1String("triple") ? 3 : style == QLatin1String("double") ? 2 : 1;
        return fill;
    }
    return Fill();
}

Stroke OdpStyles::stroke(const OdfStyleChain& chain) const {
    using namespace Odf;
    Stroke s;
    const QString kind = chain.property("graphic-properties", Draw, "stroke");
    s.visible = !kind.isEmpty() && kind != QLatin1String("none");
    if (kind == QLatin1String("dash"))
        s.style = Qt::DashLine;
    s.color = colorOf(chain.property("graphic-properties", Svg, "stroke-color"), Qt::black);
    s.color.setAlphaF(
        std::clamp(percent(chain.property("graphic-properties", Svg, "stroke-opacity"), 1.0), 0.0, 1.0));
    s.width = std::clamp(length(chain.property("graphic-properties", Svg, "stroke-width"), 0), 0.0, 500.0);
    const QString join = chain.property("graphic-properties", Draw, "stroke-linejoin");
    s.join = join == QLatin1String("miter")   ? Qt::MiterJoin
             : join == QLatin1String("bevel") ? Qt::BevelJoin
                                              : Qt::RoundJoin;
    const QString cap = chain.property("graphic-properties", Svg, "stroke-linecap");
    s.cap = cap == QLatin1String("round")    ? Qt::RoundCap
            : cap == QLatin1String("square") ? Qt::SquareCap
                                             : Qt::FlatCap;
    auto marker = [&](const char* name, const char* width, LineEnd& end) {
        const QString markerName = chain.property("graphic-properties", Draw, name);
        if (markerName.isEmpty())
            return;
        const QDomElement definition = _markers.value(markerName);
        end.kind = markerKind(definition, markerName);
        const double w = length(chain.property("graphic-properties", Draw, width), 0);
        const double lw = std::max(s.width, 1.0);
        end.widthFactor = w > 0 ? std::clamp(w / lw, 1.0, 20.0) : 3;
        end.lengthFactor = end.widthFactor * markerAspect(definition);
    };
    marker("marker-start", "marker-start-width", s.head);
    marker("marker-end", "marker-end-width", s.tail);
    return s;
}

std::shared_ptr<const PictureData> OdpStyles::picture(const QString& href) const {
    if (href.isEmpty() || href.contains(QLatin1String("://")))
        return nullptr;
    QString name = QDir::cleanPath(href);
    if (name.startsWith(QLatin1String("./")))
        name = name.mid(2);
    if (name.startsWith(QLatin1String("..")))
        return nullptr;
    auto it = _pictures.constFind(name);
    if (it != _pictures.constEnd())
        return *it;
    std::shared_ptr<const PictureData> picture;
    QByteArray bytes = _zip.tryRead(name, MaxPictureSize);
    if (!bytes.isEmpty())
        picture = std::make_shared<PictureData>(std::move(bytes), name);
    _pictures.insert(name, picture);
    return picture;
}

} // namespace KX::Tovrin
