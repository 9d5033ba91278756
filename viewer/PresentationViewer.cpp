#include "viewer/PresentationViewer.h"

#include "core/FatalError.h"
#include "platform/brovik/application/Logging.h"
#include "platform/brovik/document/DocumentIO.h"
#include "platform/brovik/document/PresentationEditorCoreHolder.h"
#include "platform/brovik/document/ResourceLoader.h"
#include "platform/brovik/editor/EditorState.h"
#include "platform/brovik/editorcore/notes/SpeakerNotes.h"
#include "platform/brovik/printing/PresentationPrintDialog.h"
#include "platform/brovik/printing/PresentationPrinter.h"
#include "platform/brovik/settings/ApplicationSettings.h"
#include "platform/brovik/slides/SlideControl.h"
#include "platform/brovik/slides/SlideNavigationController.h"
#include "platform/brovik/style/Repolish.h"
#include "platform/brovik/toolbar/FunctionToolbar.h"
#include "platform/brovik/windows/ScreenSaverLocker.h"
#include "viewer/BlankScreen.h"
#include "viewer/PresenterConsole.h"
#include "viewer/PresenterKeys.h"
#include "viewer/SlideTransitionPlayer.h"
#include "viewer/StyledFilmstrip.h"
#include "viewer/TipsScreen.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPropertyAnimation>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

namespace KX {

namespace {

constexpr int FilmstripTriggerWidth = 50;
constexpr int FilmstripWidth = StyledFilmstrip::Width;
constexpr int ToolbarBottomGap = 20;
constexpr int LongPressMs = 2500;
constexpr int WheelNotch = 120;
const QSize ConsoleSize(1000, 700);

} // namespace

PresentationViewer::PresentationViewer(std::unique_ptr<Brovik::DocumentIO> documentIO,
                                       std::unique_ptr<Brovik::ResourceLoader> resourceLoader,
                                       const Brovik::DocumentTypesProvider& documentTypesProvider,
                                       std::shared_ptr<Tovrin::EditorCoreFactory> editorCoreFactory,
                                       std::shared_ptr<Brovik::FontFactory> fontFactory,
                                       std::shared_ptr<Brovik::HttpConnectionFactory> httpConnectionFactory)
    : EditorMainWidget(std::move(documentIO), std::move(resourceLoader), documentTypesProvider,
                       std::move(editorCoreFactory), std::move(fontFactory), std::move(httpConnectionFactory),
                       QStringLiteral(":/styles/presentationStyles"), 100, false) {
    setMinimumSize(474, 356);
    resize(800, 600);
    createCommonUi();
    setFocusPolicy(Qt::StrongFocus);
    // The viewer has no parent yet, so the controller belongs to this window.
    _slideNavigationController = new Brovik::SlideNavigationController(window());
    createActions();
}

PresentationViewer::~PresentationViewer() {
    _filmstripAnimation.clear();
    delete _screenSaverLocker;
    _screenSaverLocker = nullptr;
    _editorCore.reset();
}

// The window's actions as data: icon, extra icon, tool tip, key, and whether the key works anywhere
// in the window. Created in this order, then connected.
struct PresentationViewer::ActionEntry {
    QAction* PresentationViewer::*member;
    const char* icon;
    QIcon::Mode extraMode;
    QIcon::State extraState;
    const char* extraIcon;
    const char* toolTip;
    QKeySequence key;
    bool checkable;
    bool inWindow;
};

const std::vector<PresentationViewer::ActionEntry>& PresentationViewer::actionTable() {
    using V = PresentationViewer;
    static const std::vector<ActionEntry> table = {
        {&V::_previousAction,
         "icons:p_fn_bar_previous_slide_ic",
         QIcon::Disabled,
         QIcon::Off,
         "icons:p_fn_bar_previous_slide_disable_ic",
         QT_TR_NOOP("Previous"),
         {},
         false,
         false},
        {&V::_nextAction,
         "icons:p_fn_bar_next_slide_ic",
         QIcon::Disabled,
         QIcon::Off,
         "icons:p_fn_bar_next_slide_disable_ic",
         QT_TR_NOOP("Next"),
         {},
         false,
         false},
        // Until the first full-screen change (a window started minimised may wait long for it).
        {&V::_fullScreenAction,
         "icons:p_fn_bar_fullscreen_in_ic",
         QIcon::Normal,
         QIcon::On,
         "icons:p_fn_bar_fullscreen_out_ic",
         QT_TR_NOOP("Full screen"),
         {},
         true,
         false},
        {&V::_pointerAction,
         "icons:p_fn_bar_pointer-on",
         QIcon::Normal,
         QIcon::Off,
         nullptr,
         QT_TR_NOOP("Pointer on"),
         {},
         true,
         false},
        {&V::_openAction, "icons:p_fn_bar_open_folder_ic", QIcon::Normal, QIcon::Off, nullptr,
         QT_TR_NOOP("Open"), QKeySequence::Open, false, true},
        {&V::_firstSlideAction, nullptr, QIcon::Normal, QIcon::Off, nullptr, nullptr, Qt::Key_Home, false,
         true},
        {&V::_helpAction, "icons:p_fn_bar_help_ic", QIcon::Normal, QIcon::Off, nullptr, QT_TR_NOOP("Help"),
         Qt::Key_F1, false, true},
        {&V::_saveAsAction, "icons:p_fn_bar_save_as_ic", QIcon::Disabled, QIcon::Off,
         "icons:p_fn_bar_save_as_disable_ic", QT_TR_NOOP("Save As"), QKeySequence(QStringLiteral("Ctrl+S")),
         false, true},
        {&V::_printAction, "icons:p_fn_bar_print_ic", QIcon::Normal, QIcon::Off, nullptr, QT_TR_NOOP("Print"),
         QKeySequence::Print, false, true},
        // Opens by itself on a second screen; this key asks for it with one screen.
        {&V::_consoleAction, nullptr, QIcon::Normal, QIcon::Off, nullptr, QT_TR_NOOP("Presenter console"),
         QKeySequence(QStringLiteral("Alt+F5")), false, true},
    };
    return table;
}

void PresentationViewer::createActions() {
    for (const ActionEntry& entry : actionTable()) {
        auto* action = new QAction(this);
        if (entry.icon) {
            QIcon icon(QString::fromLatin1(entry.icon));
            if (entry.extraIcon) {
                icon.addFile(QString::fromLatin1(entry.extraIcon), QSize(), entry.extraMode,
                             entry.extraState);
            }
            action->setIcon(icon);
        }
        if (entry.toolTip) {
            action->setToolTip(tr(entry.toolTip));
        }
        action->setShortcut(entry.key);
        action->setCheckable(entry.checkable);
        if (entry.inWindow) {
            addAction(action);
        }
        this->*entry.member = action;
    }
    connectActions();
}

void PresentationViewer::connectActions() {
    connect(_previousAction, &QAction::triggered, _slideNavigationController,
            &Brovik::SlideNavigationController::switchToPreviousSlide);
    connect(_nextAction, &QAction::triggered, _slideNavigationController,
            &Brovik::SlideNavigationController::switchToNextSlide);
    connect(_fullScreenAction, &QAction::toggled, this, [this](bool checked) {
        if (checked) {
            fullscreenRequested();
        } else {
            _leavingFullScreenOnRequest = true;
            exitFromFullscreenRequested();
            _leavingFullScreenOnRequest = false;
        }
    });
    connect(_pointerAction, &QAction::toggled, this, &PresentationViewer::onPointerToggled);
    connect(_openAction, &QAction::triggered, [this] { openActionTriggered(); });
    connect(_firstSlideAction, &QAction::triggered, _slideNavigationController,
            &Brovik::SlideNavigationController::switchToFirstSlide);
    connect(_helpAction, &QAction::triggered, [this] { helpTriggered(QStringLiteral("Help Presentation")); });
    connect(_saveAsAction, &QAction::triggered, this, [this] { saveCopyAs({}); });
    connect(_printAction, &QAction::triggered, this, &PresentationViewer::print);
    connect(_consoleAction, &QAction::triggered, this, &PresentationViewer::showPresenterConsole);
}

void PresentationViewer::showPresenterConsole() {
    if (!_slideControl) {
        return;
    }
    if (!_presenterConsole) {
        _presenterConsole = new PresenterConsole(_editorCore, _slideNavigationController,
                                                 Tovrin::readSpeakerNotes(_editorCore->filePath()), this);
        // Keys in the console move the show as they do in the audience's window.
        _presenterConsole->installEventFilter(_slideNavigationController);
        _presenterConsole->installEventFilter(_presenterKeys);
        _presenterConsole->resize(ConsoleSize);
        placeConsoleOnAnotherScreen();
    }
    _presenterConsole->show();
    _presenterConsole->raise();
    _presenterConsole->activateWindow();
}

void PresentationViewer::placeConsoleOnAnotherScreen() {
    const QScreen* audience = window()->screen();
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != audience) {
            _presenterConsole->move(screen->availableGeometry().topLeft());
            _presenterConsole->setWindowState(Qt::WindowMaximized);
            return;
        }
    }
}

Tovrin::EditorCoreVariant PresentationViewer::createEditorCore() {
    return Tovrin::EditorCoreVariant(std::make_shared<Tovrin::PresentationViewerEditorCore>());
}

void PresentationViewer::setEditorCore(const Tovrin::EditorCoreVariant& core) {
    _editorCore = boost::get<Tovrin::PresentationViewerEditorCorePtr>(core);
    if (_editorCore && _editorCore->getSlidesCount() > 0) {
        setupSlideUi();
        setSlideControlFullScreen(window()->isFullScreen());
    } else {
        showNoSlidesMessage();
    }
    // With tips on screen the framework learns that the editor is ready once they are dismissed.
    if (isTipsScreenVisible()) {
        connect(_tipsScreen, &TipsScreen::confirmed, getEditorState(), &Brovik::EditorState::editorCreated);
        return;
    }
    getEditorState()->editorCreated();
}

void PresentationViewer::setupSlideUi() {
    if (!_editorCore) {
        assertionFailed("_editorCore");
    }
    _slideNavigationController->setMaxSlideIndex(_editorCore->getSlidesCount() - 1);
    createFilmstrip();
    createSlideControl();
    createFunctionToolbar();

    _filmstripTrigger = new QWidget(this);
    _filmstripTrigger->installEventFilter(this);
    _filmstripTrigger->setAttribute(Qt::WA_MouseTracking);
    _filmstripTrigger->show();
    _filmstripTrigger->raise();
    _functionToolbar->raise();

    _blankScreen = new BlankScreen(this);
    _blankScreen->installEventFilter(this);
    _presenterKeys = new PresenterKeys(
        _slideNavigationController, _blankScreen, [this] { exitFromFullscreenRequested(); }, this);

    connect(_slideNavigationController, &Brovik::SlideNavigationController::currentSlideChanged, this,
            &PresentationViewer::onCurrentSlideChanged, Qt::DirectConnection);
    _slideNavigationController->setCurrentSlideIndex(0);

    if (Brovik::ApplicationSettings::isTipsScreenEnabled()) {
        _tipsScreen = new TipsScreen(_pointerButton, this);
        _tipsScreen->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);
        _tipsScreen->installEventFilter(this);
        _tipsScreen->show();
        _tipsScreen->raise();
        qCDebug(brovikPresentation) << "tips shown";
        connect(_tipsScreen, &TipsScreen::confirmed, this, &PresentationViewer::onTipsConfirmed,
                Qt::DirectConnection);
    } else {
        updateFullScreenShortcut();
        startKeyboardNavigation();
    }

    _longPressTimer = new QTimer(this);
    _longPressTimer->setSingleShot(true);
    _longPressTimer->setInterval(LongPressMs);
    connect(_longPressTimer, &QTimer::timeout, _slideNavigationController,
            &Brovik::SlideNavigationController::switchToFirstSlide);

    setTipsBlockedActions(isTipsScreenVisible());
    updateLayout();
}

void PresentationViewer::showNoSlidesMessage() {
    _noSlidesMessage = new QLabel(tr("This presentation has no slides."), this);
    _noSlidesMessage->setObjectName(QStringLiteral("NoSlidesMessage"));
    _noSlidesMessage->setAlignment(Qt::AlignCenter);
    _noSlidesMessage->setWordWrap(true);
    setContentWidget(_noSlidesMessage);
    // Without a toolbar the full-screen key must still work: Esc is the only way out otherwise.
    addAction(_fullScreenAction);
    updateFullScreenShortcut();
}

void PresentationViewer::createSlideControl() {
    if (!_slideNavigationController) {
        assertionFailed("_slideNavigationController");
    }
    _slideControl = new Brovik::SlideControl(
        Brovik::PresentationEditorCoreHolder(Brovik::PresentationEditorCoreHolder::Variant(_editorCore)),
        false, this);
    _slideControl->setFocusPolicy(Qt::NoFocus);
    _slideControl->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    _slideControl->installEventFilter(this);
    _slideControl->setMediaProvider(getMediaProvider());
    _slideControl->setCacheEnabled(true);
    setContentWidget(_slideControl);
    _transitionPlayer = new SlideTransitionPlayer(
        _slideControl, [core = _editorCore](int index) { return core->slideTransition(index); });
}

void PresentationViewer::createFunctionToolbar() {
    _functionToolbar = new Brovik::FunctionToolbar(this);
    _functionToolbar->setFocusPolicy(Qt::NoFocus);
    _functionToolbar->addAction(_previousAction);
    _functionToolbar->addAction(_nextAction);
    _functionToolbar->addAction(_fullScreenAction);
    _pointerButton = _functionToolbar->addAction(_pointerAction);
    _pointerButton->setObjectName(QStringLiteral("PointerButton"));
    _functionToolbar->addAction(_openAction);
    _functionToolbar->addAction(_saveAsAction);
    _functionToolbar->addAction(_printAction);
    _functionToolbar->addAction(_helpAction);
    _functionToolbar->show();
    _functionToolbar->setVisibilityState(Brovik::FadeInOutWidget::State::Pinned, false);
}

bool PresentationViewer::isTipsScreenVisible() const {
    // Not hidden rather than visible: the slide UI is built before the window is first shown, and
    // the tips must hold the window back from the start.
    return _tipsScreen && !_tipsScreen->isHidden();
}

void PresentationViewer::setTipsBlockedActions(bool blocked) {
    _firstSlideAction->blockSignals(blocked);
    _openAction->blockSignals(blocked);
}

void PresentationViewer::onTipsConfirmed() {
    qCDebug(brovikPresentation) << "tips confirmed";
    Brovik::ApplicationSettings::setTipsScreenEnabled(false);
    dismissTips();
}

void PresentationViewer::dismissTips() {
    qCDebug(brovikPresentation) << "tips gone";
    _tipsScreen->hide();
    updateFullScreenShortcut();
    setTipsBlockedActions(false);
    _functionToolbar->setVisibilityState(Brovik::FadeInOutWidget::State::Hidden, false);
    startKeyboardNavigation();
}

void PresentationViewer::startKeyboardNavigation() {
    // Installing twice keeps one filter. The keyboard comes back to the window, which the hidden
    // tips button may have held.
    installEventFilter(_slideNavigationController);
    // Installed last, so it sees the keys first.
    installEventFilter(_presenterKeys);
    setFocus(Qt::OtherFocusReason);
}

void PresentationViewer::onCurrentSlideChanged(int index) {
    if (!_filmstrip) {
        assertionFailed("_filmstrip");
    }
    _filmstrip->setCurrentIndex(index);
    if (!_slideControl) {
        assertionFailed("_slideControl");
    }
    _transitionPlayer->moveTo(index);
    _previousAction->setEnabled(index > 0);
    _nextAction->setEnabled(_editorCore && index + 1 < _editorCore->getSlidesCount());
}

void PresentationViewer::onPointerToggled(bool on) {
    if (!_slideControl) {
        return;
    }
    _slideControl->setPointerEffectEnabled(on);
    _pointerAction->setToolTip(on ? tr("Pointer off") : tr("Pointer on"));
}

void PresentationViewer::updateFullScreenShortcut() {
    if (isTipsScreenVisible()) {
        _fullScreenAction->setShortcut(QKeySequence());
    } else {
        _fullScreenAction->setShortcut(window()->isFullScreen() ? Qt::Key_Escape : Qt::Key_F5);
    }
}

void PresentationViewer::onFullscreenChanged() {
    const bool fullScreen = window()->isFullScreen();
    _fullScreenAction->setToolTip(fullScreen ? tr("Out of full screen") : tr("Full screen"));
    {
        const QSignalBlocker blocker(_fullScreenAction);
        _fullScreenAction->setChecked(fullScreen);
    }
    if (!fullScreen && isTipsScreenVisible() && _leavingFullScreenOnRequest) {
        // Only for this run: the tips stay enabled for the next start. A window manager that takes
        // the window out of full screen for a moment while mapping it does not count.
        dismissTips();
    }
    if (!isTipsScreenVisible() && _functionToolbar) {
        _functionToolbar->setVisibilityState(Brovik::FadeInOutWidget::State::Hidden, true);
    }
    if (_slideControl) {
        setSlideControlFullScreen(fullScreen);
    }
    updateFullScreenShortcut();
    if (fullScreen && _slideControl && !isTipsScreenVisible() && QGuiApplication::screens().size() > 1) {
        // The audience sees the slide on this screen, the presenter the console on the other.
        showPresenterConsole();
    }
    if (fullScreen) {
        auto* locker = new Brovik::ScreenSaverLocker(window()->windowHandle());
        delete _screenSaverLocker;
        _screenSaverLocker = locker;
    } else {
        delete _screenSaverLocker;
        _screenSaverLocker = nullptr;
    }
}

void PresentationViewer::setSlideControlFullScreen(bool on) {
    if (!_slideControl) {
        assertionFailed("_slideControl");
    }
    _slideControl->setProperty("fullScreenModeActive", on);
    Brovik::repolish(_slideControl);
    _slideControl->update();
}

bool PresentationViewer::event(QEvent* event) {
    if (event->type() == QEvent::HoverMove && _functionToolbar && !isTipsScreenVisible() &&
        _functionToolbar->getVisibilityState() == Brovik::FadeInOutWidget::State::Hidden) {
        _functionToolbar->setVisibilityState(Brovik::FadeInOutWidget::State::Shown, true);
    }
    return EditorMainWidget::event(event);
}

bool PresentationViewer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == _filmstripTrigger && _filmstripTrigger && event->type() == QEvent::Enter) {
        if (!_filmstripAnimation) {
            showFilmstrip();
        }
    } else if (watched == _filmstrip && _filmstrip && event->type() == QEvent::Leave) {
        hideFilmstrip();
    } else if (watched == _slideControl && _slideControl && _longPressTimer) {
        handleSlideGesture(event);
    } else if (watched == _blankScreen && _blankScreen && event->type() == QEvent::MouseButtonRelease) {
        _presenterKeys->click();
    }
    return QObject::eventFilter(watched, event);
}

void PresentationViewer::handleSlideGesture(QEvent* event) {
    if (event->type() == QEvent::Wheel) {
        handleWheel(static_cast<QWheelEvent*>(event)->angleDelta().y());
        return;
    }
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease) {
        return;
    }
    const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
    if (event->type() == QEvent::MouseButtonPress && button == Qt::RightButton) {
        _slideNavigationController->switchToPreviousSlide();
    } else if (event->type() == QEvent::MouseButtonPress && button == Qt::LeftButton) {
        _longPressTimer->start();
    } else if (event->type() == QEvent::MouseButtonRelease && button == Qt::LeftButton &&
               _longPressTimer->isActive()) {
        _longPressTimer->stop();
        _presenterKeys->click();
    }
}

void PresentationViewer::handleWheel(int delta) {
    // One notch of a wheel is 120; touch pads send it in small parts.
    _wheelDelta += delta;
    while (_wheelDelta <= -WheelNotch) {
        _wheelDelta += WheelNotch;
        _presenterKeys->advance();
    }
    while (_wheelDelta >= WheelNotch) {
        _wheelDelta -= WheelNotch;
        _slideNavigationController->switchToPreviousSlide();
    }
}

void PresentationViewer::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    updateLayout();
}

void PresentationViewer::updateLayout() {
    const int h = height();
    if (_filmstrip && _filmstrip->isVisible()) {
        _filmstrip->resize(FilmstripWidth, h);
    }
    if (_filmstripTrigger) {
        _filmstripTrigger->resize(FilmstripTriggerWidth, h);
    }
    if (_functionToolbar) {
        const QRect area = geometry();
        _functionToolbar->move(area.center().x() - _functionToolbar->width() / 2,
                               area.bottom() - _functionToolbar->height() - ToolbarBottomGap);
    }
    if (_tipsScreen) {
        _tipsScreen->resize(width(), h);
    }
    if (_blankScreen) {
        _blankScreen->setGeometry(rect());
    }
}

std::unique_ptr<Brovik::DocumentPrinter> PresentationViewer::createDocumentPrinter() {
    return std::make_unique<Brovik::PresentationPrinter>(
        Brovik::PresentationEditorCoreHolder(Brovik::PresentationEditorCoreHolder::Variant(_editorCore)),
        getMediaProvider());
}

std::unique_ptr<QPrintDialog>
PresentationViewer::createPrintDialog(QPrinter* printer, Brovik::DocumentPrinter* documentPrinter) {
    const auto* presentationPrinter = dynamic_cast<const Brovik::PresentationPrinter*>(documentPrinter);
    if (!presentationPrinter) {
        fatalError("Invalid documentPrinter type");
    }
    return std::make_unique<Brovik::PresentationPrintDialog>(printer, *presentationPrinter, window());
}

} // namespace KX
