#include "viewer/PresentationViewer.h"

#include "core/FatalError.h"
#include "platform/brovik/document/DocumentIO.h"
#include "platform/brovik/document/PresentationEditorCoreHolder.h"
#include "platform/brovik/document/ResourceLoader.h"
#include "platform/brovik/editor/EditorState.h"
#include "platform/brovik/printing/PresentationPrintDialog.h"
#include "platform/brovik/printing/PresentationPrinter.h"
#include "platform/brovik/settings/ApplicationSettings.h"
#include "platform/brovik/slides/SlideControl.h"
#include "platform/brovik/slides/SlideNavigationController.h"
#include "platform/brovik/style/Repolish.h"
#include "platform/brovik/toolbar/FunctionToolbar.h"
#include "platform/brovik/windows/ScreenSaverLocker.h"
#include "viewer/StyledFilmstrip.h"
#include "viewer/TipsScreen.h"

#include <QAction>
#include <QEasingCurve>
#include <QMouseEvent>
#include <QPropertyAnimation>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>

namespace KX {

namespace {

constexpr int FilmstripTriggerWidth = 50;
constexpr int FilmstripWidth = StyledFilmstrip::Width;
constexpr int FilmstripAnimationMs = 200;
constexpr int ToolbarBottomGap = 20;
constexpr int LongPressMs = 2500;

[[noreturn]] void notImplemented(const char* signature) {
    fatalError(std::string(signature) + " is not implemented");
}

QIcon makeIcon(const QString& file) {
    return QIcon(file);
}

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

void PresentationViewer::createActions() {
    _previousAction = new QAction(this);
    QIcon previousIcon = makeIcon(QStringLiteral("icons:p_fn_bar_previous_slide_ic"));
    previousIcon.addFile(QStringLiteral("icons:p_fn_bar_previous_slide_disable_ic"), QSize(), QIcon::Disabled,
                         QIcon::Off);
    _previousAction->setIcon(previousIcon);
    _previousAction->setToolTip(tr("Previous"));

    _nextAction = new QAction(this);
    QIcon nextIcon = makeIcon(QStringLiteral("icons:p_fn_bar_next_slide_ic"));
    nextIcon.addFile(QStringLiteral("icons:p_fn_bar_next_slide_disable_ic"), QSize(), QIcon::Disabled,
                     QIcon::Off);
    _nextAction->setIcon(nextIcon);
    _nextAction->setToolTip(tr("Next"));

    _fullScreenAction = new QAction(this);
    QIcon fullScreenIcon = makeIcon(QStringLiteral("icons:p_fn_bar_fullscreen_in_ic"));
    fullScreenIcon.addFile(QStringLiteral("icons:p_fn_bar_fullscreen_out_ic"), QSize(), QIcon::Normal,
                           QIcon::On);
    _fullScreenAction->setIcon(fullScreenIcon);
    // Until the first full-screen change (a window started minimised may wait long for it).
    _fullScreenAction->setToolTip(tr("Full screen"));
    _fullScreenAction->setCheckable(true);

    _pointerAction = new QAction(this);
    _pointerAction->setIcon(makeIcon(QStringLiteral("icons:p_fn_bar_pointer-on")));
    _pointerAction->setToolTip(tr("Pointer on"));
    _pointerAction->setCheckable(true);

    _openAction = new QAction(this);
    _openAction->setIcon(makeIcon(QStringLiteral("icons:p_fn_bar_open_folder_ic")));
    _openAction->setToolTip(tr("Open"));
    _openAction->setShortcut(QKeySequence::Open);
    addAction(_openAction);

    connect(_previousAction, &QAction::triggered, _slideNavigationController,
            &Brovik::SlideNavigationController::switchToPreviousSlide);
    connect(_nextAction, &QAction::triggered, _slideNavigationController,
            &Brovik::SlideNavigationController::switchToNextSlide);
    connect(_fullScreenAction, &QAction::toggled, this, [this](bool checked) {
        if (checked) {
            fullscreenRequested();
        } else {
            exitFromFullscreenRequested();
        }
    });
    connect(_pointerAction, &QAction::toggled, this, &PresentationViewer::onPointerToggled);
    connect(_openAction, &QAction::triggered, [this] { openActionTriggered(); });

    _firstSlideAction = new QAction(this);
    _firstSlideAction->setShortcut(Qt::Key_Home);
    addAction(_firstSlideAction);
    connect(_firstSlideAction, &QAction::triggered, _slideNavigationController,
            &Brovik::SlideNavigationController::switchToFirstSlide);

    _helpAction = new QAction(this);
    _helpAction->setIcon(makeIcon(QStringLiteral("icons:p_fn_bar_help_ic")));
    _helpAction->setToolTip(tr("Help"));
    _helpAction->setShortcut(Qt::Key_F1);
    addAction(_helpAction);
    connect(_helpAction, &QAction::triggered, [this] { helpTriggered(QStringLiteral("Help Presentation")); });

    _saveAsAction = new QAction(this);
    QIcon saveAsIcon = makeIcon(QStringLiteral("icons:p_fn_bar_save_as_ic"));
    saveAsIcon.addFile(QStringLiteral("icons:p_fn_bar_save_as_disable_ic"), QSize(), QIcon::Disabled,
                       QIcon::Off);
    _saveAsAction->setIcon(saveAsIcon);
    _saveAsAction->setToolTip(tr("Save As"));
    _saveAsAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    addAction(_saveAsAction);
    connect(_saveAsAction, &QAction::triggered, this, [this] { saveCopyAs({}); });

    _printAction = new QAction(this);
    _printAction->setIcon(makeIcon(QStringLiteral("icons:p_fn_bar_print_ic")));
    _printAction->setToolTip(tr("Print"));
    _printAction->setShortcut(QKeySequence::Print);
    addAction(_printAction);
    connect(_printAction, &QAction::triggered, this, &PresentationViewer::print);
}

Tovrin::EditorCoreVariant PresentationViewer::createEditorCore() {
    return Tovrin::EditorCoreVariant(std::make_shared<Tovrin::PresentationViewerEditorCore>());
}

void PresentationViewer::setEditorCore(const Tovrin::EditorCoreVariant& core) {
    _editorCore = boost::get<Tovrin::PresentationViewerEditorCorePtr>(core);
    if (_editorCore && _editorCore->getSlidesCount() > 0) {
        setupSlideUi();
        setSlideControlFullScreen(window()->isFullScreen());
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

    connect(_slideNavigationController, &Brovik::SlideNavigationController::currentSlideChanged, this,
            &PresentationViewer::onCurrentSlideChanged, Qt::DirectConnection);
    _slideNavigationController->setCurrentSlideIndex(0);

    if (Brovik::ApplicationSettings::isTipsScreenEnabled()) {
        _tipsScreen = new TipsScreen(_pointerButton, this);
        _tipsScreen->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);
        _tipsScreen->installEventFilter(this);
        _tipsScreen->show();
        _tipsScreen->raise();
        connect(_tipsScreen, &TipsScreen::confirmed, this, &PresentationViewer::onTipsConfirmed,
                Qt::DirectConnection);
    } else {
        updateFullScreenShortcut();
        installEventFilter(_slideNavigationController);
    }

    _longPressTimer = new QTimer(this);
    _longPressTimer->setSingleShot(true);
    _longPressTimer->setInterval(LongPressMs);
    connect(_longPressTimer, &QTimer::timeout, _slideNavigationController,
            &Brovik::SlideNavigationController::switchToFirstSlide);

    setTipsBlockedActions(isTipsScreenVisible());
    updateLayout();
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
    _tipsScreen->hide();
    updateFullScreenShortcut();
    setTipsBlockedActions(false);
    Brovik::ApplicationSettings::setTipsScreenEnabled(false);
    _functionToolbar->setVisibilityState(Brovik::FadeInOutWidget::State::Hidden, false);
    installEventFilter(_slideNavigationController);
}

void PresentationViewer::createFilmstrip() {
    if (!_slideNavigationController) {
        assertionFailed("_slideNavigationController");
    }
    _filmstrip = new StyledFilmstrip(
        Brovik::PresentationEditorCoreHolder(Brovik::PresentationEditorCoreHolder::Variant(_editorCore)),
        this);
    _filmstrip->setFixedWidth(FilmstripWidth);
    _filmstrip->setFocusPolicy(Qt::NoFocus);
    _filmstrip->installEventFilter(this);
    _filmstrip->setMediaProvider(getMediaProvider());
    // Parked just left of the window until the mouse touches the left edge.
    _filmstrip->setVisible(true);
    _filmstrip->move(-_filmstrip->width(), 0);
    connect(_filmstrip, &Brovik::Filmstrip::currentIndexChanged, _slideNavigationController,
            &Brovik::SlideNavigationController::setCurrentSlideIndex);
}

void PresentationViewer::showFilmstrip() {
    if (!_filmstrip) {
        assertionFailed("_filmstrip");
    }
    _filmstrip->show();
    _filmstrip->raise();
    const QRect from(QPoint(-FilmstripWidth, 0), QPoint(-1, height() - 1));
    animateFilmstrip(from, from.translated(FilmstripWidth, 0));
}

void PresentationViewer::hideFilmstrip() {
    const QRect from = _filmstrip->geometry();
    animateFilmstrip(from, from.translated(-from.width(), 0));
    if (!_filmstripAnimation) {
        assertionFailed("_filmstripAnimation");
    }
    connect(_filmstripAnimation.data(), &QAbstractAnimation::finished, _filmstrip, &QWidget::hide);
}

void PresentationViewer::animateFilmstrip(const QRect& from, const QRect& to) {
    // Two animations of one geometry would fight over it; the newer one wins.
    if (_filmstripAnimation) {
        _filmstripAnimation->stop();
    }
    auto* animation = new QPropertyAnimation(_filmstrip, Brovik::Filmstrip::GeometryProperty);
    _filmstripAnimation = animation;
    animation->setEasingCurve(QEasingCurve::OutQuad);
    animation->setDuration(FilmstripAnimationMs);
    animation->setStartValue(from);
    animation->setEndValue(to);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void PresentationViewer::onCurrentSlideChanged(int index) {
    if (!_filmstrip) {
        assertionFailed("_filmstrip");
    }
    _filmstrip->setCurrentIndex(index);
    if (!_slideControl) {
        assertionFailed("_slideControl");
    }
    _slideControl->setSlideIndex(index);
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
    if (!fullScreen && isTipsScreenVisible()) {
        // Only for this run: the tips stay enabled for the next start.
        _tipsScreen->hide();
        updateFullScreenShortcut();
        setTipsBlockedActions(false);
    }
    if (!isTipsScreenVisible() && _functionToolbar) {
        _functionToolbar->setVisibilityState(Brovik::FadeInOutWidget::State::Hidden, true);
    }
    if (_slideControl) {
        setSlideControlFullScreen(fullScreen);
    }
    updateFullScreenShortcut();
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
        if (event->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            _longPressTimer->start();
        } else if (event->type() == QEvent::MouseButtonRelease &&
                   static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
                   _longPressTimer->isActive()) {
            _slideNavigationController->switchToNextSlide();
            _longPressTimer->stop();
        }
    }
    return QObject::eventFilter(watched, event);
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

// Editing, collaboration and cloud features do not exist in a viewer; reaching them is a defect.
QString PresentationViewer::getNewCloudDocumentNameTemplate() const {
    notImplemented("virtual QString KX::PresentationViewer::getNewCloudDocumentNameTemplate() const");
}
void PresentationViewer::exportDocument(const Brovik::LocalDocumentInfo&) {
    notImplemented("virtual void KX::PresentationViewer::exportDocument(const Brovik::LocalDocumentInfo &)");
}
void PresentationViewer::onCloudConnectionStateChanged(
    const Fernhill::CloudSessionController::ConnectionState) {
    notImplemented("virtual void KX::PresentationViewer::onCloudConnectionStateChanged(const "
                   "Fernhill::CloudSessionController::ConnectionState)");
}
Tovrin::DocumentSharingInterfacePtr PresentationViewer::getDocumentSharingInterface() {
    notImplemented(
        "virtual Tovrin::DocumentSharingInterfacePtr KX::PresentationViewer::getDocumentSharingInterface()");
}
QString PresentationViewer::getNewDocumentNameTemplate() const {
    notImplemented("virtual QString KX::PresentationViewer::getNewDocumentNameTemplate() const");
}
bool PresentationViewer::canShowSpecialCharactersDialog() const {
    notImplemented("virtual bool KX::PresentationViewer::canShowSpecialCharactersDialog() const");
}
void PresentationViewer::onCollaboratorBubblePressed(const Tovrin::ClientID&) {
    notImplemented(
        "virtual void KX::PresentationViewer::onCollaboratorBubblePressed(const Tovrin::ClientID &)");
}
bool PresentationViewer::isImagePickerAvailableForCells() const {
    notImplemented("virtual bool KX::PresentationViewer::isImagePickerAvailableForCells() const");
}
bool PresentationViewer::canFormatCell() const {
    notImplemented("virtual bool KX::PresentationViewer::canFormatCell() const");
}
bool PresentationViewer::canFormatShape() const {
    notImplemented("virtual bool KX::PresentationViewer::canFormatShape() const");
}
void PresentationViewer::setupCollaboratorsControllerIfNeeded() {
    notImplemented("virtual void KX::PresentationViewer::setupCollaboratorsControllerIfNeeded()");
}
void PresentationViewer::updateCollaboratorsControllerClients() {
    notImplemented("virtual void KX::PresentationViewer::updateCollaboratorsControllerClients()");
}
void PresentationViewer::selectSignatureLineByUUID(const KX::UUID&) {
    notImplemented("virtual void KX::PresentationViewer::selectSignatureLineByUUID(const KX::UUID &)");
}
void PresentationViewer::onSpreadsheetSelectionChanged() {
    assertionFailed("false", "Cannot be called here");
}
void PresentationViewer::onTextSelectionChanged() {
    assertionFailed("false", "Cannot be called here");
}
bool PresentationViewer::canUndo() const {
    notImplemented("virtual bool KX::PresentationViewer::canUndo() const");
}
bool PresentationViewer::canRedo() const {
    notImplemented("virtual bool KX::PresentationViewer::canRedo() const");
}
void PresentationViewer::undo() {
    notImplemented("virtual void KX::PresentationViewer::undo()");
}
void PresentationViewer::redo() {
    notImplemented("virtual void KX::PresentationViewer::redo()");
}
void PresentationViewer::setCombineOperationForUndo(const bool) {
    notImplemented("virtual void KX::PresentationViewer::setCombineOperationForUndo(const bool)");
}
void PresentationViewer::activateCommandsAssistant() {
    notImplemented("virtual void KX::PresentationViewer::activateCommandsAssistant()");
}
Brovik::CommandsList PresentationViewer::getCommandsList() {
    notImplemented("virtual KX::Brovik::CommandsList KX::PresentationViewer::getCommandsList()");
}

} // namespace KX
