#include "platform/brovik/editorcore/pptx/PptxTransition.h"

#include "platform/brovik/editorcore/package/XmlPart.h"

#include <algorithm>
#include <optional>

namespace KX::Tovrin {

namespace {
constexpr int MaxDurationMs = 10000;

// Direction attributes name where things move: "l" is towards the left.
QPoint motion(const QString& dir, QPoint fallback) {
    static const std::pair<const char*, QPoint> directions[] = {
        {"l", {-1, 0}},   {"r", {1, 0}},   {"u", {0, -1}},  {"d", {0, 1}},
        {"lu", {-1, -1}}, {"ru", {1, -1}}, {"ld", {-1, 1}}, {"rd", {1, 1}}};
    for (const auto& [name, step] : directions)
        if (dir == QLatin1String(name))
            return step;
    return fallback;
}

int duration(const QDomElement& transition) {
    // PowerPoint 2010 and later give milliseconds (p14:dur); the older speed names stand for
    // the lengths PowerPoint plays them with.
    const qint64 ms = attrInt(transition, QStringLiteral("dur"), -1);
    if (ms >= 0)
        return int(std::min<qint64>(ms, MaxDurationMs));
    const QString speed = transition.attribute(QStringLiteral("spd"), QStringLiteral("fast"));
    return speed == QLatin1String("slow") ? 1000 : speed == QLatin1String("med") ? 750 : 500;
}

// Nullopt when the kind is not one the viewer plays.
std::optional<SlideTransition> read(const QDomElement& transition) {
    SlideTransition t;
    t.durationMs = duration(transition);
    QDomElement kind = transition.firstChildElement();
    while (!kind.isNull() &&
           (kind.localName() == QLatin1String("sndAc") || kind.localName() == QLatin1String("extLst")))
        kind = kind.nextSiblingElement();
    if (kind.isNull())
        return SlideTransition{}; // a transition without a kind is a cut
    const QString name = kind.localName();
    const QString dir = kind.attribute(QStringLiteral("dir"));
    if (name == QLatin1String("cut")) {
        t.kind = SlideTransition::Kind::Cut;
    } else if (name == QLatin1String("fade")) {
        t.kind = SlideTransition::Kind::Fade;
        if (attrBool(kind, QStringLiteral("thruBlk"), false))
            t.throughColor = Qt::black;
    } else if (name == QLatin1String("push") || name == QLatin1String("wipe")) {
        t.kind = name == QLatin1String("push") ? SlideTransition::Kind::Push : SlideTransition::Kind::Wipe;
        t.motion = motion(dir, {-1, 0});
        if (t.motion.x() != 0 && t.motion.y() != 0)
            t.motion = {-1, 0}; // only the four sides
    } else if (name == QLatin1String("cover")) {
        t.kind = SlideTransition::Kind::Cover;
        t.motion = motion(dir, {-1, 0});
    } else if (name == QLatin1String("split")) {
        t.kind = SlideTransition::Kind::Split;
        t.verticalSplit = kind.attribute(QStringLiteral("orient")) == QLatin1String("vert");
        t.inward = dir == QLatin1String("in");
    } else {
        return std::nullopt;
    }
    return t;
}
} // namespace

SlideTransition readPptxTransition(const QDomElement& slideRoot) {
    for (QDomElement e = slideRoot.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        if (e.localName() == QLatin1String("transition"))
            return read(e).value_or(SlideTransition{});
        if (e.localName() != QLatin1String("AlternateContent"))
            continue;
        std::optional<SlideTransition> fallback;
        for (QDomElement branch = e.firstChildElement(); !branch.isNull();
             branch = branch.nextSiblingElement()) {
            const QDomElement transition = firstChild(branch, QStringLiteral("transition"));
            if (transition.isNull())
                continue;
            const std::optional<SlideTransition> t = read(transition);
            if (branch.localName() == QLatin1String("Choice") && t)
                return *t;
            if (branch.localName() == QLatin1String("Fallback"))
                fallback = t;
        }
        if (fallback)
            return *fallback;
    }
    return {};
}

} // namespace KX::Tovrin
