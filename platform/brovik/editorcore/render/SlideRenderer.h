#pragma once

#include "platform/brovik/editorcore/model/PresentationDocument.h"

#include <QImage>
#include <QPainter>

namespace KX::Tovrin {

// Paints slides of the model. Knows nothing of file formats.
class SlideRenderer {
public:
    // Paints the slide scaled into target, aspect kept and centred; nothing outside the slide.
    static void render(const PresentationDocument& document, int index, QPainter& painter,
                       const QRectF& target);
    // A raster of the given pixel size: the slide letterboxed on transparent.
    static QImage render(const PresentationDocument& document, int index, const QSize& size);
};

} // namespace KX::Tovrin
