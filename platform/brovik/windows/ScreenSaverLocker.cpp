#include "platform/brovik/windows/ScreenSaverLocker.h"

#include "platform/brovik/windows/X11ScreenSaverSuspender.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>

namespace KX::Brovik {

namespace {

const QString Service = QStringLiteral("org.freedesktop.ScreenSaver");
const QString Path = QStringLiteral("/org/freedesktop/ScreenSaver");
// A desktop service answers at once; a stuck bus must not freeze the switch to full screen.
constexpr int CallTimeoutMs = 1000;

bool serviceAvailable() {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface() && bus.interface()->isServiceRegistered(Service).value();
}

} // namespace

ScreenSaverLocker::ScreenSaverLocker(QWindow* /*window*/) {
    if (!serviceAvailable()) {
        _x11Fallback = std::make_unique<X11ScreenSaverSuspender>();
        return;
    }
    QDBusInterface screenSaver(Service, Path, Service, QDBusConnection::sessionBus());
    screenSaver.setTimeout(CallTimeoutMs);
    const QDBusReply<quint32> reply =
        screenSaver.call(QStringLiteral("Inhibit"), QCoreApplication::applicationName(),
                         QStringLiteral("Presentation running"));
    if (reply.isValid()) {
        _cookie = reply.value();
    } else {
        _x11Fallback = std::make_unique<X11ScreenSaverSuspender>();
    }
}

bool ScreenSaverLocker::isInhibiting() const {
    return _cookie != 0 || (_x11Fallback && _x11Fallback->isActive());
}

ScreenSaverLocker::~ScreenSaverLocker() {
    if (_cookie == 0) {
        return;
    }
    QDBusInterface screenSaver(Service, Path, Service, QDBusConnection::sessionBus());
    screenSaver.setTimeout(CallTimeoutMs);
    screenSaver.call(QDBus::NoBlock, QStringLiteral("UnInhibit"), _cookie);
}

} // namespace KX::Brovik
