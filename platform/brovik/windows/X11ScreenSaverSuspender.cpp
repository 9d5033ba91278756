#include "platform/brovik/windows/X11ScreenSaverSuspender.h"

#include <QGuiApplication>
#include <QTimer>
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

namespace KX::Brovik {

namespace {

// Well below the shortest idle time a screen saver is usually given.
constexpr int ResetIntervalMs = 30000;

Display* display(void* handle) {
    return static_cast<Display*>(handle);
}

bool canSuspend(Display* connection) {
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    // Suspension came with version 1.1 of the extension.
    return XScreenSaverQueryExtension(connection, &event, &error) &&
           XScreenSaverQueryVersion(connection, &major, &minor) && (major > 1 || (major == 1 && minor >= 1));
}

} // namespace

X11ScreenSaverSuspender::X11ScreenSaverSuspender() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return;
    }
    Display* connection = XOpenDisplay(nullptr);
    if (!connection) {
        return;
    }
    _display = connection;
    if (canSuspend(connection)) {
        XScreenSaverSuspend(connection, True);
        XFlush(connection);
        _suspended = true;
        return;
    }
    _resetTimer = std::make_unique<QTimer>();
    _resetTimer->setInterval(ResetIntervalMs);
    QObject::connect(_resetTimer.get(), &QTimer::timeout, [connection] {
        XResetScreenSaver(connection);
        XFlush(connection);
    });
    XResetScreenSaver(connection);
    XFlush(connection);
    _resetTimer->start();
}

X11ScreenSaverSuspender::~X11ScreenSaverSuspender() {
    _resetTimer.reset();
    if (!_display) {
        return;
    }
    if (_suspended) {
        XScreenSaverSuspend(display(_display), False);
    }
    XCloseDisplay(display(_display));
}

} // namespace KX::Brovik
