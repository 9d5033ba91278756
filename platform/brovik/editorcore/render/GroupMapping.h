#pragma once

#include "platform/brovik/editorcore/model/SlideElement.h"

namespace KX::Tovrin {

// A group's children placed in the group's own coordinates (origin at its top-left corner):
// positions and sizes are mapped from the child space, while line widths, font sizes and
// other lengths that are not geometry keep their authored values, as the authoring programs
// do when a group is resized.
std::vector<SlideElement> mapGroupChildren(const GroupElement& group);

} // namespace KX::Tovrin
