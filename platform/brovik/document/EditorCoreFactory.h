#pragma once

#include "platform/brovik/document/EditorCoreVariant.h"

#include <QString>
#include <memory>

namespace KX::Tovrin {

// Loads documents into the editor cores that editor widgets create. Shared by every window of the
// application.
class EditorCoreFactory : public std::enable_shared_from_this<EditorCoreFactory> {
public:
    // Loads `path` into the core held by `core`. Throws DocumentLoadError with a readable message
    // when the file cannot be opened by that kind of core, DocumentLoadCancelled when `progress`
    // asked to stop.
    void load(const EditorCoreVariant& core, const QString& path, const LoadProgress& progress = {}) const;
};

} // namespace KX::Tovrin
