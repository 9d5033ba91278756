#pragma once

#include "platform/brovik/editorcore/model/SlideElement.h"

#include <QPainter>
#include <functional>

namespace KX::Tovrin {

// One painter function per element kind; each paints in its parent's coordinates (points).
void paintElement(QPainter& painter, const SlideElement& element, int depth = 0);
void paintShape(QPainter& painter, const ShapeElement& shape);
void paintPicture(QPainter& painter, const PictureElement& picture);
void paintTable(QPainter& painter, const TableElement& table);
void paintGroup(QPainter& painter, const GroupElement& group, int depth);

// Moves the painter into the frame's own coordinates: origin at its top-left corner, rotated and
// flipped about its centre. With forText, flips are left out so text is never mirrored.
void enterFrame(QPainter& painter, const ElementFrame& frame, bool forText = false);

// Paints fill inside path; box is the area fractions in the fill refer to.
void paintFill(QPainter& painter, const QPainterPath& path, const Fill& fill, const QRectF& box,
               double shade = 1);
// Plays a vector picture into box, showing the part crop names (fractions of the picture).
void paintMetafile(QPainter& painter, const Metafiles::Metafile& metafile, const QRectF& box,
                   const QRectF& crop);
// Paints a shadow of silhouette (in the painter's current coordinates). With a caster, what the
// caster paints casts it instead, within the silhouette's bounds widened by spread.
using ShadowCaster = std::function<void(QPainter&)>;
void paintShadow(QPainter& painter, const QPainterPath& silhouette, const Shadow& shadow,
                 const ShadowCaster& caster = {}, double spread = 0);
// Outlines path, with line ends on open paths.
void paintStroke(QPainter& painter, const QPainterPath& path, const Stroke& stroke, bool open);

} // namespace KX::Tovrin
