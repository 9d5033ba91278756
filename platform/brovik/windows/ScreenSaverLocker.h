#pragma once

#include <QtGlobal>

class QWindow;

namespace KX::Brovik {

// Keeps the screen saver and display sleep away while it lives (a presentation is running). Uses the
// desktop's org.freedesktop.ScreenSaver service on the session bus; without one it does nothing.
class ScreenSaverLocker {
public:
    explicit ScreenSaverLocker(QWindow* window);
    ~ScreenSaverLocker();
    ScreenSaverLocker(const ScreenSaverLocker&) = delete;
    ScreenSaverLocker& operator=(const ScreenSaverLocker&) = delete;

    bool isInhibiting() const { return _cookie != 0; }

private:
    quint32 _cookie = 0;
};

} // namespace KX::Brovik
