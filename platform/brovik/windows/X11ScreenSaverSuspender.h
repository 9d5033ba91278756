#pragma once

#include <memory>

class QTimer;

namespace KX::Brovik {

// Holds the X server's screen saver and display power saving off while it lives, for X sessions
// without a desktop screen-saver service. Suspends through the MIT-SCREEN-SAVER extension, or, on a
// server without suspension, resets the screen saver's idle time on a timer. Does nothing when the
// application does not run on X.
class X11ScreenSaverSuspender {
public:
    X11ScreenSaverSuspender();
    ~X11ScreenSaverSuspender();
    X11ScreenSaverSuspender(const X11ScreenSaverSuspender&) = delete;
    X11ScreenSaverSuspender& operator=(const X11ScreenSaverSuspender&) = delete;

    bool isActive() const { return _display != nullptr; }

private:
    // An own connection: a suspension lasts as long as the connection that asked for it.
    void* _display = nullptr;
    bool _suspended = false;
    std::unique_ptr<QTimer> _resetTimer;
};

} // namespace KX::Brovik
