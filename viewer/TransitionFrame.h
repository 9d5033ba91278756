#pragma once

#include "platform/brovik/editorcore/model/SlideTransition.h"

class QPainter;
class QPixmap;
class QRect;

namespace KX {

// Paints one frame of `transition` into `area`: at progress 0 only `from` shows, at 1 only `to`.
// The frame depends on nothing but its arguments, so any moment of a transition can be drawn
// again exactly. Both pictures cover `area`; a cut shows `to` at once.
void paintTransitionFrame(QPainter& painter, const QRect& area, const QPixmap& from, const QPixmap& to,
                          const Tovrin::SlideTransition& transition, double progress);

} // namespace KX
