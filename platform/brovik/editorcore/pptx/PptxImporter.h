#pragma once

#include "platform/brovik/editorcore/model/LoadProgress.h"
#include "platform/brovik/editorcore/model/PresentationDocument.h"
#include "platform/brovik/editorcore/package/ZipReader.h"

#include <memory>

namespace KX::Tovrin {

// Reads PowerPoint presentations (Office Open XML, .pptx) into the slide model.
class PptxImporter {
public:
    // True when the archive looks like an Office Open XML presentation.
    static bool recognizes(const ZipReader& zip);
    // Throws DocumentLoadError when the package lacks what a presentation needs.
    // `progress` hears of every slide read and may stop the load (DocumentLoadCancelled).
    static std::shared_ptr<PresentationDocument> import(const ZipReader& zip,
                                                        const LoadProgress& progress = {});
};

} // namespace KX::Tovrin
