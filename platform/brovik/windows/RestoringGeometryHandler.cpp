#include "platform/brovik/windows/RestoringGeometryHandler.h"

#include "platform/brovik/settings/ApplicationSettings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace KX::Brovik {

namespace {
QString key(const QString& group, const char* name) {
    return group + QLatin1Char('/') + QLatin1String(name);
}
} // namespace

RestoringGeometryHandler::RestoringGeometryHandler(QWidget* window, QString group)
    : _window(window), _group(std::move(group)) {
    _storeTimer.setSingleShot(true);
    _storeTimer.setInterval(StoreDelayMs);
    connect(&_storeTimer, &QTimer::timeout, this, [this] { saveWindowSettings(false); });
}

RestoringGeometryHandler::~RestoringGeometryHandler() = default;

bool RestoringGeometryHandler::restoreWindowSettings() {
    if (!_window) {
        return false;
    }
    const auto settings = ApplicationSettings::open();
    const QByteArray geometry = settings->value(key(_group, "geometry")).toByteArray();
    if (geometry.isEmpty()) {
        return false;
    }
    const bool restored = _window->restoreGeometry(geometry);
    if (restored && settings->value(key(_group, "maximized"), false).toBool()) {
        _window->setWindowState(_window->windowState() | Qt::WindowMaximized);
    }
    return restored;
}

void RestoringGeometryHandler::saveWindowSettings(bool windowClosing) {
    if (windowClosing) {
        _storeTimer.stop();
    }
    // Full-screen and minimised states are passing: keep the last normal geometry instead.
    if (!_window || _window->isFullScreen() || _window->isMinimized()) {
        return;
    }
    const auto settings = ApplicationSettings::open();
    settings->setValue(key(_group, "geometry"), _window->saveGeometry());
    settings->setValue(key(_group, "maximized"), _window->isMaximized());
    settings->sync();
}

void RestoringGeometryHandler::restartStoringWindowStatesTimer() {
    _storeTimer.start();
}

void showWindowWithRestoredGeometry(QWidget* window, const std::shared_ptr<RestoringGeometryHandler>& handler,
                                    bool isFirstWindow, int cascadeStep) {
    if (!window) {
        return;
    }
    const bool restored = handler && handler->restoreWindowSettings();
    if (!restored) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect frame = window->frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            window->move(frame.topLeft());
        }
    }
    if (!isFirstWindow && cascadeStep > 0) {
        window->move(window->pos() + QPoint(cascadeStep, cascadeStep));
    }
    window->show();
}

} // namespace KX::Brovik
