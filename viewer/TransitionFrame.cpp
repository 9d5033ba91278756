#include "viewer/TransitionFrame.h"

#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cmath>

namespace KX {

namespace {
using Kind = Tovrin::SlideTransition::Kind;

void fade(QPainter& painter, const QRect& area, const QPixmap& from, const QPixmap& to, const QColor& through,
          double progress) {
    if (!through.isValid()) {
        painter.drawPixmap(area, from);
        painter.setOpacity(progress);
        painter.drawPixmap(area, to);
        return;
    }
    // Into the colour during the first half, out of it during the second.
    const bool second = progress >= 0.5;
    const double amount = second ? 2 * progress - 1 : 2 * progress;
    if (second) {
        painter.fillRect(area, through);
        painter.setOpacity(amount);
        painter.drawPixmap(area, to);
    } else {
        painter.drawPixmap(area, from);
        painter.setOpacity(amount);
        painter.fillRect(area, through);
    }
}

// The travel of a full slide width or height along `motion`, scaled by `amount`.
QPoint travel(const QRect& area, QPoint motion, double amount) {
    return QPoint(int(std::lround(motion.x() * area.width() * amount)),
                  int(std::lround(motion.y() * area.height() * amount)));
}

// What of `area` the new slide shows during a wipe.
QRect wiped(const QRect& area, QPoint motion, double progress) {
    const int w = int(std::lround(area.width() * progress));
    const int h = int(std::lround(area.height() * progress));
    if (motion.x() > 0)
        return QRect(area.left(), area.top(), w, area.height());
    if (motion.x() < 0)
        return QRect(area.right() + 1 - w, area.top(), w, area.height());
    if (motion.y() > 0)
        return QRect(area.left(), area.top(), area.width(), h);
    return QRect(area.left(), area.bottom() + 1 - h, area.width(), h);
}

// What of `area` the new slide shows during a split: a band through the centre opening out, or
// two bands from the edges closing in.
QRegion split(const QRect& area, bool vertical, bool inward, double progress) {
    const int extent = vertical ? area.width() : area.height();
    const int open = int(std::lround(extent * progress));
    auto band = [&](int from, int length) {
        return vertical ? QRect(area.left() + from, area.top(), length, area.height())
                        : QRect(area.left(), area.top() + from, area.width(), length);
    };
    if (!inward)
        return QRegion(band((extent - open) / 2, open));
    const int edge = open / 2;
    return QRegion(band(0, edge)).united(band(extent - (open - edge), open - edge));
}
} // namespace

void paintTransitionFrame(QPainter& painter, const QRect& area, const QPixmap& from, const QPixmap& to,
                          const Tovrin::SlideTransition& transition, double progress) {
    progress = std::clamp(progress, 0.0, 1.0);
    painter.save();
    painter.setClipRect(area);
    switch (progress >= 1 ? Kind::Cut : transition.kind) {
    case Kind::Cut:
        painter.drawPixmap(area, to);
        break;
    case Kind::Fade:
        fade(painter, area, from, to, transition.throughColor, progress);
        break;
    case Kind::Push: {
        const QPoint moved = travel(area, transition.motion, progress);
        painter.drawPixmap(area.translated(moved), from);
        painter.drawPixmap(area.translated(moved - travel(area, transition.motion, 1)), to);
        break;
    }
    case Kind::Cover:
        painter.drawPixmap(area, from);
        painter.drawPixmap(area.translated(travel(area, transition.motion, progress - 1)), to);
        break;
    case Kind::Wipe:
        painter.drawPixmap(area, from);
        painter.setClipRect(wiped(area, transition.motion, progress), Qt::IntersectClip);
        painter.drawPixmap(area, to);
        break;
    case Kind::Split:
        painter.drawPixmap(area, from);
        painter.setClipRegion(split(area, transition.verticalSplit, transition.inward, progress),
                              Qt::IntersectClip);
        painter.drawPixmap(area, to);
        break;
    }
    painter.restore();
}

} // namespace KX
