#pragma once

#include "platform/brovik/editorcore/geometry/Scene3d.h"

#include <QDomElement>
#include <functional>

namespace KX::Tovrin {

// What an object's graphic style says about it; only the caller knows how to resolve styles.
struct Scene3dStyleLookup {
    std::function<QColor(const QDomElement&)> colour;
    // A dr3d: graphic property (horizontal-segments, depth, end-angle); empty when unset.
    std::function<QString(const QDomElement&, const char*)> property;
};

// Reads a dr3d:scene with the scenes nested in it.
Scene3d readOdfScene(const QDomElement& scene, const Scene3dStyleLookup& styles);

} // namespace KX::Tovrin
