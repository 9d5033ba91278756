#pragma once

#include "platform/brovik/document/EditorCoreVariant.h"

#include <boost/variant.hpp>

namespace KX::Brovik {

// The presentation a slide widget draws: the editing core (alternative 0) or the viewer's read-only
// core (alternative 1).
class PresentationEditorCoreHolder {
public:
    using Variant =
        boost::variant<Tovrin::PresentationEditorCorePtr, Tovrin::PresentationViewerEditorCorePtr>;

    PresentationEditorCoreHolder() = default;
    explicit PresentationEditorCoreHolder(Variant core) : _core(std::move(core)) {}

    // The viewer core, or null when the holder is empty or holds the editing core.
    Tovrin::PresentationViewerEditorCore* viewerCore() const;
    int getSlidesCount() const;

private:
    Variant _core;
};

} // namespace KX::Brovik
