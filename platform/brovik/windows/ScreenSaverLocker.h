#pragma once

#include <QtGlobal>
#include <memory>

class QWindow;

namespace KX::Brovik {

class X11ScreenSaverSuspender;

// Keeps the screen saver and display sleep away while it lives (a presentation is running). Uses the
// desktop's org.freedesktop.ScreenSaver service on the session bus; without one, on X, the X
// server's own screen saver is held off.
class ScreenSaverLocker {
public:
    explicit ScreenSaverLocker(QWindow* window);
    ~ScreenSaverLocker();
    ScreenSaverLocker(const ScreenSaverLocker&) = delete;
    ScreenSaverLocker& operator=(const ScreenSaverLocker&) = delete;

    bool isInhibiting() const;

private:
    quint32 _cookie = 0;
    std::unique_ptr<X11ScreenSaverSuspender> _x11Fallback;
};

} // namespace KX::Brovik
