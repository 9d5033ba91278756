#include "platform/brovik/document/EditorCoreFactory.h"

namespace KX::Tovrin {

void EditorCoreFactory::load(const EditorCoreVariant& core, const QString& path,
                             const LoadProgress& progress) const {
    const auto* viewerCore = boost::get<PresentationViewerEditorCorePtr>(&core);
    if (!viewerCore || !*viewerCore) {
        throw DocumentLoadError("This kind of document cannot be opened by this application.");
    }
    (*viewerCore)->load(path, progress);
}

} // namespace KX::Tovrin
