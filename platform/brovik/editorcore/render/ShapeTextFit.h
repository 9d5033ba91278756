#pragma once

#include "platform/brovik/editorcore/model/SlideElement.h"

namespace KX::Tovrin {

// The shape resized in height so that its text area holds its text exactly, about the text's
// anchor (the top stays for top-anchored text, the middle for centred, the bottom for bottom), and
// never below its minimum height. Its outline and text area scale with it, as a custom shape's
// geometry follows its frame. Shapes that do not fit their height to their text come back as
// they are.
ShapeElement heightFittedToText(const ShapeElement& shape);

} // namespace KX::Tovrin
