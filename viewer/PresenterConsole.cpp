#include "viewer/PresenterConsole.h"

#include "platform/brovik/editorcore/PresentationViewerEditorCore.h"
#include "platform/brovik/slides/SlideNavigationController.h"

#include <QBoxLayout>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTime>

namespace KX {

namespace {

const QSize CurrentSlideSize(640, 480);
const QSize NextSlideSize(320, 240);
constexpr int TickMs = 500;

qint64 monotonicMs() {
    static QElapsedTimer timer;
    if (!timer.isValid()) {
        timer.start();
    }
    return timer.elapsed();
}

QLabel* makeLabel(QWidget* parent, const QString& objectName) {
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

QPushButton* makeButton(const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    // The keys belong to the show, not to the buttons.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

PresenterConsole::PresenterConsole(std::shared_ptr<Tovrin::PresentationViewerEditorCore> core,
                                   Brovik::SlideNavigationController* navigation, std::vector<QString> notes,
                                   QWidget* parent, Clock clock)
    : QWidget(parent, Qt::Window), _core(std::move(core)), _navigation(navigation), _notes(std::move(notes)),
      _clock(clock ? std::move(clock) : Clock(monotonicMs)) {
    setObjectName(QStringLiteral("PresenterConsole"));
    setWindowTitle(tr("Presenter Console"));
    setFocusPolicy(Qt::StrongFocus);
    buildUi();
    _startedAt = _clock();
    connect(_navigation, &Brovik::SlideNavigationController::currentSlideChanged, this,
            &PresenterConsole::showSlide);
    showSlide(_navigation->getCurrentSlideIndex());
    _ticker.setInterval(TickMs);
    connect(&_ticker, &QTimer::timeout, this, &PresenterConsole::tick);
    _ticker.start();
    tick();
}

PresenterConsole::~PresenterConsole() = default;

void PresenterConsole::buildUi() {
    _current = makeLabel(this, QStringLiteral("ConsoleCurrentSlide"));
    _next = makeLabel(this, QStringLiteral("ConsoleNextSlide"));
    _notesLabel = makeLabel(this, QStringLiteral("ConsoleNotes"));
    _notesLabel->setWordWrap(true);
    _notesLabel->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    _notesLabel->setTextFormat(Qt::PlainText);
    _position = makeLabel(this, QStringLiteral("ConsolePosition"));
    _elapsed = makeLabel(this, QStringLiteral("ConsoleElapsed"));
    _clockLabel = makeLabel(this, QStringLiteral("ConsoleClock"));
    _pauseButton = makeButton(tr("Pause"), this);
    QPushButton* resetButton = makeButton(tr("Reset"), this);
    connect(_pauseButton, &QPushButton::clicked, this, &PresenterConsole::togglePause);
    connect(resetButton, &QPushButton::clicked, this, &PresenterConsole::resetElapsed);

    auto* side = new QVBoxLayout;
    side->addWidget(_next);
    side->addWidget(_notesLabel, 1);
    auto* slides = new QHBoxLayout;
    slides->addWidget(_current, 0, Qt::AlignTop);
    slides->addLayout(side, 1);
    auto* status = new QHBoxLayout;
    status->addWidget(_position);
    status->addStretch(1);
    status->addWidget(_elapsed);
    status->addWidget(_pauseButton);
    status->addWidget(resetButton);
    status->addStretch(1);
    status->addWidget(_clockLabel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(slides, 1);
    layout->addLayout(status);
}

void PresenterConsole::showSlide(int index) {
    _index = index;
    const int count = _core ? _core->getSlidesCount() : 0;
    const auto render = [this, count](int slide, const QSize& size) {
        return slide >= 0 && slide < count ? QPixmap::fromImage(_core->renderSlide(slide, size)) : QPixmap();
    };
    _current->setPixmap(render(index, CurrentSlideSize));
    _next->setPixmap(render(index + 1, NextSlideSize));
    if (index + 1 >= count) {
        _next->setText(tr("End of the show"));
    }
    _notesLabel->setText(index >= 0 && index < int(_notes.size()) ? _notes[std::size_t(index)] : QString());
    _position->setText(positionText());
}

QString PresenterConsole::positionText() const {
    const int count = _core ? _core->getSlidesCount() : 0;
    return tr("Slide %1 of %2").arg(_index + 1).arg(count);
}

QString PresenterConsole::notesText() const {
    return _notesLabel->text();
}

QImage PresenterConsole::currentImage() const {
    return _current->pixmap(Qt::ReturnByValue).toImage();
}

QImage PresenterConsole::nextImage() const {
    return _next->pixmap(Qt::ReturnByValue).toImage();
}

qint64 PresenterConsole::elapsedMs() const {
    return (_paused ? _pausedAt : _clock()) - _startedAt;
}

QString PresenterConsole::elapsedText() const {
    return QTime(0, 0).addMSecs(int(elapsedMs() % (24 * 3600 * 1000))).toString(QStringLiteral("HH:mm:ss"));
}

QString PresenterConsole::clockText() const {
    return QTime::currentTime().toString(QStringLiteral("HH:mm"));
}

void PresenterConsole::togglePause() {
    const qint64 now = _clock();
    if (_paused) {
        // The paused time does not count: the start moves on by it.
        _startedAt += now - _pausedAt;
    } else {
        _pausedAt = now;
    }
    _paused = !_paused;
    _pauseButton->setText(_paused ? tr("Resume") : tr("Pause"));
    tick();
}

void PresenterConsole::resetElapsed() {
    _startedAt = _clock();
    _pausedAt = _startedAt;
    tick();
}

void PresenterConsole::tick() {
    _elapsed->setText(elapsedText());
    _clockLabel->setText(clockText());
}

} // namespace KX
