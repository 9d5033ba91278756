#pragma once

#include <functional>

namespace KX::Tovrin {

// Told how many of a document's slides have been read; answers false to stop the load.
using LoadProgress = std::function<bool(int done, int total)>;

// Calls `progress` when there is one; throws DocumentLoadCancelled when it answers false.
void reportLoadProgress(const LoadProgress& progress, int done, int total);

} // namespace KX::Tovrin
