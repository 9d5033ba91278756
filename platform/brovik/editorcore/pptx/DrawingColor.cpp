#include "platform/brovik/editorcore/pptx/DrawingColor.h"

#include "platform/brovik/editorcore/package/XmlPart.h"

#include <cmath>

namespace KX::Tovrin {

namespace {

double toLinear(double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double toSrgb(double c) {
    c = std::clamp(c, 0.0, 1.0);
    return c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
}

QColor presetColor(const QString& name) {
    QString css = name.toLower();
    if (css.startsWith(QLatin1String("lt")))
        css = QStringLiteral("light") + css.mid(2);
    else if (css.startsWith(QLatin1String("dk")))
        css = QStringLiteral("dark") + css.mid(2);
    else if (css.startsWith(QLatin1String("med")) && !css.startsWith(QLatin1String("medium")))
        css = QStringLiteral("medium") + css.mid(3);
    QColor c(css);
    return c.isValid() ? c : QColor(Qt::black);
}

void applyModifier(QColor& color, const QString& name, double v) {
    const double f = v / 100000.0;
    if (name == QLatin1String("alpha")) {
        color.setAlphaF(std::clamp(f, 0.0, 1.0));
    } else if (name == QLatin1String("alphaMod")) {
        color.setAlphaF(std::clamp(color.alphaF() * f, 0.0, 1.0));
    } else if (name == QLatin1String("alphaOff")) {
        color.setAlphaF(std::clamp(color.alphaF() + f, 0.0, 1.0));
    } else if (name == QLatin1String("lumMod") || name == QLatin1String("lumOff") ||
               name == QLatin1String("satMod") || name == QLatin1String("satOff") ||
               name == QLatin1String("hueMod") || name == QLatin1String("hueOff") ||
               name == QLatin1String("sat") || name == QLatin1String("lum") || name == QLatin1String("hue") ||
               name == QLatin1String("comp")) {
        qreal h = 0, s = 0, l = 0, a = 0;
        color.toHsl().getHslF(&h, &s, &l, &a);
        double hh = h < 0 ? 0 : h;
        double ss = s;
        double ll = l;
        if (name == QLatin1String("lumMod"))
            ll *= f;
        else if (name == QLatin1String("lumOff"))
            ll += f;
        else if (name == QLatin1String("lum"))
            ll = f;
        else if (name == QLatin1String("satMod"))
            ss *= f;
        else if (name == QLatin1String("satOff"))
            ss += f;
        else if (name == QLatin1String("sat"))
            ss = f;
        else if (name == QLatin1String("hueMod"))
            hh *= f;
        else if (name == QLatin1String("hueOff"))
            hh += v / 21600000.0;
        else if (name == QLatin1String("hue"))
            hh = v / 21600000.0;
        else if (name == QLatin1String("comp"))
            hh += 0.5;
        hh = std::fmod(hh, 1.0);
        if (hh < 0)
            hh += 1;
        color = QColor::fromHslF(hh, std::clamp(ss, 0.0, 1.0), std::clamp(ll, 0.0, 1.0), a).toRgb();
    } else if (name == QLatin1String("tint") || name == QLatin1String("shade")) {
        // Both work in linear light, which is how the authoring programs mix towards white/black.
        const double t = std::clamp(f, 0.0, 1.0);
        double rgb[3] = {toLinear(color.redF()), toLinear(color.greenF()), toLinear(color.blueF())};
        for (double& c : rgb)
            c = name == QLatin1String("tint") ? c * t + (1 - t) : c * t;
        const double a = color.alphaF();
        color = QColor::fromRgbF(toSrgb(rgb[0]), toSrgb(rgb[1]), toSrgb(rgb[2]), a);
    } else if (name == QLatin1String("inv")) {
        color = QColor::fromRgbF(1 - color.redF(), 1 - color.greenF(), 1 - color.blueF(), color.alphaF());
    } else if (name == QLatin1String("gray")) {
        const double g = 0.3 * color.redF() + 0.59 * color.greenF() + 0.11 * color.blueF();
        color = QColor::fromRgbF(g, g, g, color.alphaF());
    } else if (name == QLatin1String("redMod") || name == QLatin1String("greenMod") ||
               name == QLatin1String("blueMod") || name == QLatin1String("redOff") ||
               name == QLatin1String("greenOff") || name == QLatin1String("blueOff")) {
        const bool mod = name.endsWith(QLatin1String("Mod"));
        auto adjust = [&](double c) { return std::clamp(mod ? c * f : c + f, 0.0, 1.0); };
        double r = color.redF(), g = color.greenF(), b = color.blueF();
        if (name.startsWith(QLatin1String("red")))
            r = adjust(r);
        else if (name.startsWith(QLatin1String("green")))
            g = adjust(g);
        else
            b = adjust(b);
        color = QColor::fromRgbF(r, g, b, color.alphaF());
    }
}

} // namespace

QColor schemeColor(const QString& name, const DrawingContext& ctx) {
    QString key = name;
    auto mapped = ctx.colorMap.find(name);
    if (mapped != ctx.colorMap.end())
        key = mapped->second;
    else if (name == QLatin1String("bg1"))
        key = QStringLiteral("lt1");
    else if (name == QLatin1String("tx1"))
        key = QStringLiteral("dk1");
    else if (name == QLatin1String("bg2"))
        key = QStringLiteral("lt2");
    else if (name == QLatin1String("tx2"))
        key = QStringLiteral("dk2");
    if (ctx.theme != nullptr) {
        auto it = ctx.theme->colors.find(key);
        if (it != ctx.theme->colors.end())
            return it->second;
    }
    if (key == QLatin1String("lt1") || key == QLatin1String("lt2"))
        return Qt::white;
    return Qt::black;
}

std::optional<QColor> readColorElement(const QDomElement& e, const DrawingContext& ctx,
                                       const QColor& placeholderColor) {
    const QString kind = e.localName();
    QColor color;
    if (kind == QLatin1String("srgbClr")) {
        color = QColor(QLatin1Char('#') + e.attribute(QStringLiteral("val")));
        if (!color.isValid())
            color = Qt::black;
    } else if (kind == QLatin1String("schemeClr")) {
        const QString val = e.attribute(QStringLiteral("val"));
        if (val == QLatin1String("phClr"))
            color = placeholderColor.isValid() ? placeholderColor : QColor(Qt::black);
        else
            color = schemeColor(val, ctx);
    } else if (kind == QLatin1String("sysClr")) {
        color = QColor(QLatin1Char('#') + e.attribute(QStringLiteral("lastClr")));
        if (!color.isValid())
            color = e.attribute(QStringLiteral("val")) == QLatin1String("window") ? Qt::white : Qt::black;
    } else if (kind == QLatin1String("prstClr")) {
        color = presetColor(e.attribute(QStringLiteral("val")));
    } else if (kind == QLatin1String("scrgbClr")) {
        color = QColor::fromRgbF(toSrgb(attrDouble(e, QStringLiteral("r"), 0) / 100000.0),
                                 toSrgb(attrDouble(e, QStringLiteral("g"), 0) / 100000.0),
                                 toSrgb(attrDouble(e, QStringLiteral("b"), 0) / 100000.0));
    } else if (kind == QLatin1String("hslClr")) {
        double h = std::fmod(attrDouble(e, QStringLiteral("hue"), 0) / 21600000.0, 1.0);
        color = QColor::fromHslF(h < 0 ? h + 1 : h,
                                 std::clamp(attrDouble(e, QStringLiteral("sat"), 0) / 100000.0, 0.0, 1.0),
                                 std::clamp(attrDouble(e, QStringLiteral("lum"), 0) / 100000.0, 0.0, 1.0))
                    .toRgb();
    } else {
        return std::nullopt;
    }
    forEachChild(e, [&](const QDomElement& m) {
        applyModifier(color, m.localName(), attrDouble(m, QStringLiteral("val"), 0));
    });
    return color;
}

std::optional<QColor> readColor(const QDomElement& parent, const DrawingContext& ctx,
                                const QColor& placeholderColor) {
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        if (auto c = readColorElement(e, ctx, placeholderColor))
            return c;
    return std::nullopt;
}

} // namespace KX::Tovrin
