#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <memory>

class QWidget;

namespace KX::Brovik {

// Keeps a window's geometry and state in the application settings under one group, and puts the
// window back there when it is shown again. Saving is debounced: moves and resizes restart a short
// timer, closing saves at once.
class RestoringGeometryHandler : public QObject {
    Q_OBJECT
public:
    static constexpr int StoreDelayMs = 500;

    RestoringGeometryHandler(QWidget* window, QString group);
    ~RestoringGeometryHandler() override;

    const QString& group() const { return _group; }
    bool isStoringTimerActive() const { return _storeTimer.isActive(); }

    // Applies the stored geometry and state; false when nothing usable is stored for the group.
    bool restoreWindowSettings();
    // Stores the window's geometry now. `windowClosing` also stops the pending timer.
    void saveWindowSettings(bool windowClosing);
    void restartStoringWindowStatesTimer();

private:
    QPointer<QWidget> _window;
    QString _group;
    QTimer _storeTimer;
};

// Shows `window` where `handler` last stored it. A window without stored geometry is centred on its
// screen; later windows (`isFirstWindow` false) are moved by `cascadeStep` pixels so that they do not
// cover the first one exactly.
void showWindowWithRestoredGeometry(QWidget* window, const std::shared_ptr<RestoringGeometryHandler>& handler,
                                    bool isFirstWindow, int cascadeStep);

} // namespace KX::Brovik
