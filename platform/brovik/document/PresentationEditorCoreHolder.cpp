#include "platform/brovik/document/PresentationEditorCoreHolder.h"

namespace KX::Brovik {

Tovrin::PresentationViewerEditorCore* PresentationEditorCoreHolder::viewerCore() const {
    const auto* core = boost::get<Tovrin::PresentationViewerEditorCorePtr>(&_core);
    return core ? core->get() : nullptr;
}

int PresentationEditorCoreHolder::getSlidesCount() const {
    const Tovrin::PresentationViewerEditorCore* core = viewerCore();
    return core && core->isLoaded() ? core->getSlidesCount() : 0;
}

} // namespace KX::Brovik
