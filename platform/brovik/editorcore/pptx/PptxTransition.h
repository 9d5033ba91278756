#pragma once

#include "platform/brovik/editorcore/model/SlideTransition.h"

#include <QDomElement>

namespace KX::Tovrin {

// The transition of a slide (p:sld): its p:transition, or inside mc:AlternateContent the first
// choice the viewer can play, else the fallback's. A slide without one, or with a kind the viewer
// cannot play, comes in with a cut.
SlideTransition readPptxTransition(const QDomElement& slideRoot);

} // namespace KX::Tovrin
