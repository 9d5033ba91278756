#pragma once

#include "platform/brovik/editorcore/model/SlideElement.h"
#include "platform/brovik/editorcore/model/SlideTransition.h"

#include <QSizeF>
#include <vector>

namespace KX::Tovrin {

// A slide with everything inherited from layouts, masters, themes and styles already resolved:
// the renderer needs nothing else.
struct Slide {
    Fill background;
    std::vector<SlideElement> elements; // back to front
    SlideTransition transition;         // how the slide comes in
};

// A loaded presentation, independent of the file format it came from. Immutable once built.
struct PresentationDocument {
    QSizeF slideSize{720, 540}; // points
    std::vector<Slide> slides;
};

} // namespace KX::Tovrin
