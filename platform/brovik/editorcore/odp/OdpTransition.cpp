#include "platform/brovik/editorcore/odp/OdpTransition.h"

#include "platform/brovik/editorcore/odp/OdfNames.h"

#include <algorithm>
#include <cmath>

namespace KX::Tovrin {

namespace {
using namespace Odf;
using Kind = SlideTransition::Kind;
constexpr const char* Smil = "urn:oasis:names:tc:opendocument:xmlns:smil-compatible:1.0";
constexpr int MaxDurationMs = 10000;

struct SmilTransition {
    QString type;
    QString subtype;
    bool reverse = false;
    QString fadeColor;
};

// "fromLeft" and its kin: where the new slide comes from, as the way it moves.
QPoint fromSide(const QString& subtype, QPoint fallback) {
    static const std::pair<const char*, QPoint> sides[] = {
        {"fromLeft", {1, 0}},        {"fromRight", {-1, 0}},       {"fromTop", {0, 1}},
        {"fromBottom", {0, -1}},     {"fromTopLeft", {1, 1}},      {"fromTopRight", {-1, 1}},
        {"fromBottomLeft", {1, -1}}, {"fromBottomRight", {-1, -1}}};
    for (const auto& [name, step] : sides)
        if (subtype == QLatin1String(name))
            return step;
    return fallback;
}

SlideTransition fromSmil(const SmilTransition& smil) {
    SlideTransition t;
    const QString& sub = smil.subtype;
    if (smil.type == QLatin1String("fade")) {
        t.kind = Kind::Fade;
        if (sub != QLatin1String("crossfade")) {
            const QColor color(smil.fadeColor);
            t.throughColor = color.isValid() ? color : QColor(Qt::black);
        }
    } else if (smil.type == QLatin1String("barWipe")) {
        t.kind = Kind::Wipe;
        t.motion = sub == QLatin1String("topToBottom") ? QPoint(0, 1) : QPoint(1, 0);
        if (smil.reverse)
            t.motion = -t.motion;
    } else if (smil.type == QLatin1String("pushWipe")) {
        t.motion = fromSide(sub, {});
        if (t.motion.isNull() || (t.motion.x() != 0 && t.motion.y() != 0))
            return {};
        t.kind = Kind::Push;
        if (smil.reverse)
            t.motion = -t.motion;
    } else if (smil.type == QLatin1String("slideWipe") && !smil.reverse) {
        // Reversed, the old slide slides away instead (uncover), which is not played.
        t.motion = fromSide(sub, {});
        if (t.motion.isNull())
            return {};
        t.kind = Kind::Cover;
    } else if (smil.type == QLatin1String("barnDoorWipe") &&
               (sub.isEmpty() || sub == QLatin1String("vertical") || sub == QLatin1String("horizontal"))) {
        t.kind = Kind::Split;
        t.verticalSplit = sub != QLatin1String("horizontal");
        t.inward = smil.reverse;
    }
    return t;
}

// The transition styles of OpenDocument 1.0 that match a playable kind.
SlideTransition fromTransitionStyle(const QString& style) {
    SlideTransition t;
    static const std::pair<const char*, QPoint> sides[] = {
        {"left", {1, 0}},      {"right", {-1, 0}},      {"top", {0, 1}},        {"bottom", {0, -1}},
        {"upperleft", {1, 1}}, {"upperright", {-1, 1}}, {"lowerleft", {1, -1}}, {"lowerright", {-1, -1}}};
    for (const auto& [side, step] : sides) {
        if (style == QLatin1String("move-from-") + QLatin1String(side)) {
            t.kind = Kind::Cover;
            t.motion = step;
        } else if (style == QLatin1String("fade-from-") + QLatin1String(side) &&
                   (step.x() == 0 || step.y() == 0)) {
            t.kind = Kind::Wipe;
            t.motion = step;
        }
    }
    if (style.startsWith(QLatin1String("open-")) || style.startsWith(QLatin1String("close-"))) {
        t.kind = Kind::Split;
        t.verticalSplit = style.endsWith(QLatin1String("vertical"));
        t.inward = style.startsWith(QLatin1String("close-"));
    }
    return t;
}

// The transition filter of the page's timing root, if any.
QDomElement transitionFilter(const QDomElement& page) {
    for (QDomElement par = page.firstChildElement(); !par.isNull(); par = par.nextSiblingElement()) {
        if (par.localName() != QLatin1String("par"))
            continue;
        for (QDomElement e = par.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
            if (e.localName() == QLatin1String("transitionFilter"))
                return e;
    }
    return {};
}

// "1s", "0.5s", "750ms", or a clock value "00:00:01.5"; -1 when unreadable.
int milliseconds(const QString& text) {
    const QString v = text.trimmed();
    bool ok = false;
    double seconds = -1;
    if (v.endsWith(QLatin1String("ms")))
        seconds = v.chopped(2).toDouble(&ok) / 1000;
    else if (v.endsWith(QLatin1Char('s')))
        seconds = v.chopped(1).toDouble(&ok);
    else if (v.contains(QLatin1Char(':'))) {
        seconds = 0;
        ok = true;
        for (const QString& part : v.split(QLatin1Char(':'))) {
            bool partOk = false;
            seconds = seconds * 60 + part.toDouble(&partOk);
            ok = ok && partOk;
        }
    } else
        seconds = v.toDouble(&ok);
    if (!ok || !std::isfinite(seconds) || seconds < 0)
        return -1;
    return int(std::min(seconds * 1000, double(MaxDurationMs)));
}
} // namespace

SlideTransition readOdpTransition(const OdfStyleChain& pageStyle, const QDomElement& page) {
    const char* props = "drawing-page-properties";
    const QDomElement filter = transitionFilter(page);
    SlideTransition t;
    if (const QString type = pageStyle.property(props, Smil, "type"); !type.isEmpty()) {
        t = fromSmil({type, pageStyle.property(props, Smil, "subtype"),
                      pageStyle.property(props, Smil, "direction") == QLatin1String("reverse"),
                      pageStyle.property(props, Smil, "fadeColor")});
    } else if (const QString style = pageStyle.property(props, Presentation, "transition-style");
               !style.isEmpty()) {
        t = fromTransitionStyle(style);
    } else if (!filter.isNull()) {
        t = fromSmil({attr(filter, Smil, "type"), attr(filter, Smil, "subtype"),
                      attr(filter, Smil, "direction") == QLatin1String("reverse"),
                      attr(filter, Smil, "fadeColor")});
    }
    const QString speed = pageStyle.property(props, Presentation, "transition-speed");
    t.durationMs = speed == QLatin1String("slow") ? 1000 : speed == QLatin1String("medium") ? 750 : 500;
    if (!filter.isNull())
        if (const int ms = milliseconds(attr(filter, Smil, "dur")); ms >= 0)
            t.durationMs = ms;
    return t;
}

} // namespace KX::Tovrin
