#pragma once

#include <QString>

namespace KX::Brovik {

// Process set-up that must happen before the application object exists.

// High-density screens: scale the interface by the screen's factor and use "@2x" images.
void initScaleFactor();
// Registers the framework's compiled-in resources and the "icons:" search path (":/icons").
void initSharedResources();

} // namespace KX::Brovik
