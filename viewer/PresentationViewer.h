#pragma once

#include "platform/brovik/document/EditorCoreVariant.h"
#include "platform/brovik/editor/EditorMainWidget.h"

#include <QPointer>
#include <QPropertyAnimation>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QTimer;
class QToolButton;

namespace KX::Brovik {
class FunctionToolbar;
class ScreenSaverLocker;
class SlideControl;
class SlideNavigationController;
} // namespace KX::Brovik

namespace KX {

class BlankScreen;
class PresenterConsole;
class PresenterKeys;
class SlideTransitionPlayer;
class StyledFilmstrip;
class TipsScreen;

// The content of a slidewell document window: one presentation shown by a slide view that fills the
// window, a toolbar centred at the bottom, keys for presenting, a filmstrip that slides in from the
// left edge and, on first use, a tips overlay. Declines every editing feature of the framework.
class PresentationViewer : public Brovik::EditorMainWidget {
    Q_OBJECT
public:
    PresentationViewer(std::unique_ptr<Brovik::DocumentIO> documentIO,
                       std::unique_ptr<Brovik::ResourceLoader> resourceLoader,
                       const Brovik::DocumentTypesProvider& documentTypesProvider,
                       std::shared_ptr<Tovrin::EditorCoreFactory> editorCoreFactory,
                       std::shared_ptr<Brovik::FontFactory> fontFactory,
                       std::shared_ptr<Brovik::HttpConnectionFactory> httpConnectionFactory);
    ~PresentationViewer() override;

    // Read access for the window's owner and its tests.
    const std::shared_ptr<Tovrin::PresentationViewerEditorCore>& editorCore() const { return _editorCore; }
    Brovik::SlideControl* slideControl() const { return _slideControl; }
    QWidget* filmstripTrigger() const { return _filmstripTrigger; }
    StyledFilmstrip* filmstrip() const { return _filmstrip; }
    QPropertyAnimation* filmstripAnimation() const { return _filmstripAnimation; }
    Brovik::FunctionToolbar* functionToolbar() const { return _functionToolbar; }
    TipsScreen* tipsScreen() const { return _tipsScreen; }
    QTimer* longPressTimer() const { return _longPressTimer; }
    QLabel* noSlidesMessage() const { return _noSlidesMessage; }
    BlankScreen* blankScreen() const { return _blankScreen; }
    PresenterKeys* presenterKeys() const { return _presenterKeys; }
    PresenterConsole* presenterConsole() const { return _presenterConsole; }
    SlideTransitionPlayer* transitionPlayer() const { return _transitionPlayer; }
    QAction* consoleAction() const { return _consoleAction; }
    Brovik::SlideNavigationController* slideNavigationController() const {
        return _slideNavigationController;
    }
    bool isScreenSaverLocked() const { return _screenSaverLocker != nullptr; }
    QAction* previousAction() const { return _previousAction; }
    QAction* nextAction() const { return _nextAction; }
    QAction* fullScreenAction() const { return _fullScreenAction; }
    QAction* pointerAction() const { return _pointerAction; }
    QAction* firstSlideAction() const { return _firstSlideAction; }
    QToolButton* pointerButton() const { return _pointerButton; }
    QAction* openAction() const { return _openAction; }
    QAction* helpAction() const { return _helpAction; }
    QAction* saveAsAction() const { return _saveAsAction; }
    QAction* printAction() const { return _printAction; }

    // Framework hooks.
    bool canUndo() const override;
    bool canRedo() const override;
    void undo() override;
    void redo() override;
    void setCombineOperationForUndo(const bool combine) override;
    void activateCommandsAssistant() override;
    Brovik::CommandsList getCommandsList() override;
    std::unique_ptr<Brovik::DocumentPrinter> createDocumentPrinter() override;
    std::unique_ptr<QPrintDialog> createPrintDialog(QPrinter* printer,
                                                    Brovik::DocumentPrinter* documentPrinter) override;

    Tovrin::EditorCoreVariant createEditorCore() override;
    void setEditorCore(const Tovrin::EditorCoreVariant& core) override;
    void onFullscreenChanged() override;
    QString getNewCloudDocumentNameTemplate() const override;
    void exportDocument(const Brovik::LocalDocumentInfo& info) override;
    void
    onCloudConnectionStateChanged(const Fernhill::CloudSessionController::ConnectionState state) override;
    Tovrin::DocumentSharingInterfacePtr getDocumentSharingInterface() override;
    QString getNewDocumentNameTemplate() const override;
    bool canShowSpecialCharactersDialog() const override;
    void onCollaboratorBubblePressed(const Tovrin::ClientID& client) override;
    bool isImagePickerAvailableForCells() const override;
    bool canFormatCell() const override;
    bool canFormatShape() const override;
    void setupCollaboratorsControllerIfNeeded() override;
    void updateCollaboratorsControllerClients() override;
    void selectSignatureLineByUUID(const KX::UUID& uuid) override;
    void onSpreadsheetSelectionChanged() override;
    void onTextSelectionChanged() override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct ActionEntry;
    static const std::vector<ActionEntry>& actionTable();
    void createActions();
    void connectActions();
    void createSlideControl();
    void createFunctionToolbar();
    void createFilmstrip();
    void showFilmstrip();
    void hideFilmstrip();
    void animateFilmstrip(const QRect& from, const QRect& to);
    void onTipsConfirmed();
    void showNoSlidesMessage();
    void handleSlideGesture(QEvent* event);
    void handleWheel(int delta);
    void showPresenterConsole();
    void placeConsoleOnAnotherScreen();
    void dismissTips();
    void startKeyboardNavigation();
    void setupSlideUi();
    void setSlideControlFullScreen(bool on);
    void updateFullScreenShortcut();
    void updateLayout();
    void onCurrentSlideChanged(int index);
    void onPointerToggled(bool on);
    bool isTipsScreenVisible() const;
    void setTipsBlockedActions(bool blocked);

    std::shared_ptr<Tovrin::PresentationViewerEditorCore> _editorCore;
    Brovik::ScreenSaverLocker* _screenSaverLocker = nullptr;
    QWidget* _filmstripTrigger = nullptr;
    Brovik::SlideControl* _slideControl = nullptr;
    StyledFilmstrip* _filmstrip = nullptr;
    Brovik::SlideNavigationController* _slideNavigationController = nullptr;
    TipsScreen* _tipsScreen = nullptr;
    QPointer<QPropertyAnimation> _filmstripAnimation;
    Brovik::FunctionToolbar* _functionToolbar = nullptr;
    QAction* _previousAction = nullptr;
    QAction* _nextAction = nullptr;
    QAction* _fullScreenAction = nullptr;
    QAction* _pointerAction = nullptr;
    QAction* _firstSlideAction = nullptr;
    QToolButton* _pointerButton = nullptr;
    QAction* _openAction = nullptr;
    QAction* _helpAction = nullptr;
    QAction* _saveAsAction = nullptr;
    QAction* _printAction = nullptr;
    QTimer* _longPressTimer = nullptr;
    // True while the full-screen button takes the window out of full screen.
    bool _leavingFullScreenOnRequest = false;
    QLabel* _noSlidesMessage = nullptr;
    BlankScreen* _blankScreen = nullptr;
    PresenterKeys* _presenterKeys = nullptr;
    int _wheelDelta = 0;
    PresenterConsole* _presenterConsole = nullptr;
    QAction* _consoleAction = nullptr;
    SlideTransitionPlayer* _transitionPlayer = nullptr;
};

} // namespace KX
