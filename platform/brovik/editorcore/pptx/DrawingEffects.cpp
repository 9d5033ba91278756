#include "platform/brovik/editorcore/pptx/DrawingEffects.h"

#include "platform/brovik/editorcore/package/XmlPart.h"
#include "platform/brovik/editorcore/pptx/DrawingColor.h"
#include "platform/brovik/editorcore/pptx/DrawingFill.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace KX::Tovrin {

namespace {
constexpr double EmuPerPoint = 12700.0;

Shadow readEffectList(const QDomElement& effectLst, const DrawingContext& ctx, const QColor& phClr) {
    Shadow shadow;
    const QDomElement outer = firstChild(effectLst, QStringLiteral("outerShdw"));
    if (outer.isNull())
        return shadow;
    shadow.color = readColor(outer, ctx, phClr).value_or(QColor(0, 0, 0, 128));
    // Distances are capped so a forged value cannot ask for a blur over an area the size of a city.
    const double distance =
        std::clamp(attrDouble(outer, QStringLiteral("dist"), 0) / EmuPerPoint, 0.0, 2000.0);
    const double direction = attrDouble(outer, QStringLiteral("dir"), 0) / 60000.0 * std::numbers::pi / 180.0;
    if (std::isfinite(direction))
        shadow.offset = QPointF(std::cos(direction), std::sin(direction)) * distance;
    shadow.blur = std::clamp(attrDouble(outer, QStringLiteral("blurRad"), 0) / EmuPerPoint, 0.0, 500.0);
    return shadow;
}
} // namespace

std::optional<Shadow> readShadow(const QDomElement& spPr, const DrawingContext& ctx, const QColor& phClr) {
    const QDomElement effectLst = firstChild(spPr, QStringLiteral("effectLst"));
    if (effectLst.isNull())
        return std::nullopt;
    return readEffectList(effectLst, ctx, phClr);
}

std::optional<FillOverlay> readFillOverlay(const QDomElement& effectLst, const DrawingContext& ctx) {
    const QDomElement e = firstChild(effectLst, QStringLiteral("fillOverlay"));
    const std::optional<Fill> fill = e.isNull() ? std::nullopt : readFill(e, ctx);
    if (!fill || !fill->isVisible())
        return std::nullopt;
    const QString blend = e.attribute(QStringLiteral("blend"));
    FillOverlay overlay;
    overlay.fill = *fill;
    overlay.blend = blend == QLatin1String("mult")      ? FillOverlay::Blend::Multiply
                    : blend == QLatin1String("screen")  ? FillOverlay::Blend::Screen
                    : blend == QLatin1String("darken")  ? FillOverlay::Blend::Darken
                    : blend == QLatin1String("lighten") ? FillOverlay::Blend::Lighten
                                                        : FillOverlay::Blend::Over;
    return overlay;
}

std::optional<Shadow> themeShadow(int index, const QColor& color, const DrawingContext& ctx) {
    if (ctx.theme == nullptr || index <= 0)
        return std::nullopt;
    int n = index;
    for (QDomElement e = ctx.theme->effectStyles.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        if (--n == 0)
            return readEffectList(firstChild(e, QStringLiteral("effectLst")), ctx, color);
    return std::nullopt;
}

} // namespace KX::Tovrin
