#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QPushButton;

namespace KX::Tovrin {
class PresentationViewerEditorCore;
}
namespace KX::Brovik {
class SlideNavigationController;
}

namespace KX {

// The presenter's own window beside the audience's: the current and the next slide, the current
// slide's speaker notes, the time since the show started (which can be paused and reset), the clock,
// and where the show is ("Slide 2 of 9"). It follows the navigation controller it is given, so
// either window moves both.
class PresenterConsole : public QWidget {
    Q_OBJECT
public:
    // Milliseconds of a monotonic clock; tests give their own.
    using Clock = std::function<qint64()>;

    PresenterConsole(std::shared_ptr<Tovrin::PresentationViewerEditorCore> core,
                     Brovik::SlideNavigationController* navigation, std::vector<QString> notes,
                     QWidget* parent, Clock clock = {});
    ~PresenterConsole() override;

    QString positionText() const;
    QString notesText() const;
    QString elapsedText() const;
    QString clockText() const;
    bool isPaused() const { return _paused; }
    QImage currentImage() const;
    QImage nextImage() const;

    void togglePause();
    void resetElapsed();

private:
    void buildUi();
    void showSlide(int index);
    void tick();
    qint64 elapsedMs() const;

    std::shared_ptr<Tovrin::PresentationViewerEditorCore> _core;
    Brovik::SlideNavigationController* _navigation;
    std::vector<QString> _notes;
    Clock _clock;
    int _index = -1;
    qint64 _startedAt = 0;
    qint64 _pausedAt = 0;
    bool _paused = false;
    QLabel* _current = nullptr;
    QLabel* _next = nullptr;
    QLabel* _notesLabel = nullptr;
    QLabel* _position = nullptr;
    QLabel* _elapsed = nullptr;
    QLabel* _clockLabel = nullptr;
    QPushButton* _pauseButton = nullptr;
    QTimer _ticker;
};

} // namespace KX
