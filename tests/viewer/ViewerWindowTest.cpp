// The document window: its states with and without slides, full-screen changes, layout and the
// operations a viewer declines.

#include "PptxFixture.h"
#include "ViewerTestApplication.h"
#include "core/Errors.h"
#include "platform/brovik/document/DocumentIO.h"
#include "platform/brovik/editor/EditorState.h"
#include "platform/brovik/printing/PresentationPrinter.h"
#include "platform/brovik/slides/SlideControl.h"
#include "platform/brovik/slides/SlideNavigationController.h"
#include "platform/brovik/toolbar/FunctionToolbar.h"
#include "viewer/PresentationViewer.h"
#include "viewer/PresenterKeys.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>

using namespace KX;
using KX::Testing::testApplication;

namespace {

PresentationViewer* open(const QString& name, const std::vector<QColor>& slides) {
    const QString path = KX::Testing::scratchFolder() + QLatin1Char('/') + name;
    KX::Testing::writePptx(path, slides);
    auto& application = testApplication();
    if (!application.handlePath(path, {}, false, nullptr)) {
        ADD_FAILURE() << application.openFailures.join(QLatin1Char('\n')).toStdString();
        return nullptr;
    }
    return qobject_cast<PresentationViewer*>(application.editors().constLast());
}

void sendKey(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
}

TEST(ViewerWindow, WithoutSlidesHasNoSlideUiAndIsReadyAtOnce) {
    PresentationViewer* viewer = open(QStringLiteral("empty.pptx"), {});
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->editorCore()->getSlidesCount(), 0);
    EXPECT_EQ(viewer->slideControl(), nullptr);
    EXPECT_EQ(viewer->functionToolbar(), nullptr);
    EXPECT_EQ(viewer->filmstripTrigger(), nullptr);
    EXPECT_EQ(viewer->tipsScreen(), nullptr);
    EXPECT_TRUE(viewer->getEditorState()->isCreated());
    ASSERT_NE(viewer->noSlidesMessage(), nullptr);
    EXPECT_EQ(viewer->getContentWidget(), viewer->noSlidesMessage());
    EXPECT_EQ(viewer->noSlidesMessage()->text(), QStringLiteral("This presentation has no slides."));
    // Full-screen changes still work without slides, and Esc leaves full screen.
    QWidget* window = viewer->window();
    QApplication::setActiveWindow(window);
    viewer->fullscreenRequested();
    EXPECT_TRUE(viewer->fullScreenAction()->isChecked());
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isFullScreen());
    QTest::keyClick(window, Qt::Key_F5);
    EXPECT_TRUE(window->isFullScreen());
    window->close();
}

TEST(ViewerWindow, WithSlidesShowsTheFirstSlideAndNavigates) {
    PresentationViewer* viewer = open(QStringLiteral("three.pptx"), {Qt::red, Qt::green, Qt::blue});
    ASSERT_NE(viewer, nullptr);
    ASSERT_NE(viewer->slideControl(), nullptr);
    EXPECT_EQ(viewer->getContentWidget(), viewer->slideControl());
    EXPECT_EQ(viewer->slideControl()->getSlideIndex(), 0);
    EXPECT_FALSE(viewer->previousAction()->isEnabled());
    EXPECT_TRUE(viewer->nextAction()->isEnabled());
    EXPECT_TRUE(viewer->getEditorState()->isCreated());
    EXPECT_EQ(viewer->pointerButton()->objectName(), QStringLiteral("PointerButton"));

    sendKey(viewer, Qt::Key_End);
    EXPECT_EQ(viewer->slideControl()->getSlideIndex(), 2);
    EXPECT_TRUE(viewer->previousAction()->isEnabled());
    EXPECT_FALSE(viewer->nextAction()->isEnabled());
    sendKey(viewer, Qt::Key_Right); // the end of the show, over the last slide
    EXPECT_TRUE(viewer->presenterKeys()->isShowingEnd());
    EXPECT_EQ(viewer->slideControl()->getSlideIndex(), 2);
    sendKey(viewer, Qt::Key_Left); // back from there to the last slide
    EXPECT_FALSE(viewer->presenterKeys()->isShowingEnd());
    EXPECT_EQ(viewer->slideControl()->getSlideIndex(), 2);
    sendKey(viewer, Qt::Key_PageUp);
    EXPECT_EQ(viewer->slideControl()->getSlideIndex(), 1);
    viewer->previousAction()->trigger();
    EXPECT_EQ(viewer->slideControl()->getSlideIndex(), 0);
    viewer->window()->close();
}

TEST(ViewerWindow, OneSlideDisablesBothDirections) {
    PresentationViewer* viewer = open(QStringLiteral("one.pptx"), {Qt::yellow});
    ASSERT_NE(viewer, nullptr);
    EXPECT_FALSE(viewer->previousAction()->isEnabled());
    EXPECT_FALSE(viewer->nextAction()->isEnabled());
    viewer->window()->close();
}

TEST(ViewerWindow, FullScreenChangesFollowTheWindow) {
    PresentationViewer* viewer = open(QStringLiteral("fullscreen.pptx"), {Qt::red, Qt::green});
    ASSERT_NE(viewer, nullptr);
    Brovik::SlideControl* slides = viewer->slideControl();
    ASSERT_NE(slides, nullptr);
    EXPECT_EQ(viewer->fullScreenAction()->shortcut(), QKeySequence(Qt::Key_F5));

    viewer->fullscreenRequested();
    EXPECT_TRUE(viewer->window()->isFullScreen());
    EXPECT_TRUE(viewer->fullScreenAction()->isChecked());
    EXPECT_EQ(viewer->fullScreenAction()->toolTip(), QStringLiteral("Exit Full Screen Mode"));
    EXPECT_EQ(viewer->fullScreenAction()->shortcut(), QKeySequence(Qt::Key_Escape));
    EXPECT_TRUE(slides->property("fullScreenModeActive").toBool());
    EXPECT_TRUE(viewer->isScreenSaverLocked());
    EXPECT_EQ(viewer->functionToolbar()->getVisibilityState(), Brovik::FadeInOutWidget::State::Hidden);

    // Unchecking the action is the toolbar's way out of full screen.
    viewer->fullScreenAction()->setChecked(false);
    EXPECT_FALSE(viewer->window()->isFullScreen());
    EXPECT_EQ(viewer->fullScreenAction()->toolTip(), QStringLiteral("Full Screen Mode"));
    EXPECT_EQ(viewer->fullScreenAction()->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_FALSE(slides->property("fullScreenModeActive").toBool());
    EXPECT_FALSE(viewer->isScreenSaverLocked());

    viewer->fullScreenAction()->setChecked(true);
    EXPECT_TRUE(viewer->window()->isFullScreen());
    viewer->window()->close();
}

TEST(ViewerWindow, FullScreenKeysAndTheToolbarComingBack) {
    PresentationViewer* viewer = open(QStringLiteral("keys.pptx"), {Qt::red, Qt::green});
    ASSERT_NE(viewer, nullptr);
    QWidget* window = viewer->window();
    QApplication::setActiveWindow(window);
    QTest::keyClick(window, Qt::Key_F5);
    EXPECT_TRUE(window->isFullScreen());
    EXPECT_EQ(viewer->functionToolbar()->getVisibilityState(), Brovik::FadeInOutWidget::State::Hidden);

    // Moving the mouse over the slide brings the faded toolbar back.
    QTest::mouseMove(viewer->slideControl(), QPoint(100, 100));
    QTest::mouseMove(viewer->slideControl(), QPoint(120, 110));
    EXPECT_EQ(viewer->functionToolbar()->getVisibilityState(), Brovik::FadeInOutWidget::State::Shown);

    // A short left click on the slide advances; other buttons do not.
    QTest::mouseClick(viewer->slideControl(), Qt::RightButton);
    EXPECT_EQ(viewer->slideControl()->getSlideIndex(), 0);
    QTest::mouseClick(viewer->slideControl(), Qt::LeftButton);
    EXPECT_EQ(viewer->slideControl()->getSlideIndex(), 1);

    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isFullScreen());
    EXPECT_EQ(viewer->fullScreenAction()->shortcut(), QKeySequence(Qt::Key_F5));
    window->close();
}

TEST(ViewerWindow, BackgroundWindowStaysMinimisedUntilRestored) {
    PresentationViewer* viewer = open(QStringLiteral("background.pptx"), {Qt::red});
    ASSERT_NE(viewer, nullptr);
    QWidget* window = viewer->window();
    window->setWindowState(Qt::WindowMinimized);
    viewer->fullscreenRequested();
    EXPECT_TRUE(window->isMinimized());
    EXPECT_TRUE(window->windowState().testFlag(Qt::WindowFullScreen));
    window->close();
}

TEST(ViewerWindow, HoldingTheButtonReturnsToTheFirstSlide) {
    PresentationViewer* viewer = open(QStringLiteral("hold.pptx"), {Qt::red, Qt::green, Qt::blue});
    ASSERT_NE(viewer, nullptr);
    viewer->slideNavigationController()->switchToLastSlide();
    QTest::mousePress(viewer->slideControl(), Qt::LeftButton);
    QTimer* longPress = nullptr;
    for (QTimer* timer : viewer->findChildren<QTimer*>()) {
        if (timer->isSingleShot() && timer->interval() == 2500 && timer->isActive()) {
            longPress = timer;
        }
    }
    ASSERT_NE(longPress, nullptr);
    // Let the hold time pass at once instead of waiting 2.5 seconds.
    longPress->setInterval(0);
    for (int round = 0; round < 100 && longPress->isActive(); ++round) {
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(viewer->slideControl()->getSlideIndex(), 0);
    QTest::mouseRelease(viewer->slideControl(), Qt::LeftButton);
    EXPECT_EQ(viewer->slideControl()->getSlideIndex(), 0); // the late release does not advance
    viewer->window()->close();
}

TEST(ViewerWindow, LayoutAfterResize) {
    PresentationViewer* viewer = open(QStringLiteral("layout.pptx"), {Qt::red});
    ASSERT_NE(viewer, nullptr);
    viewer->window()->resize(1001, 701);
    QCoreApplication::processEvents();
    const QRect area = viewer->geometry();
    ASSERT_EQ(viewer->height(), area.height());
    EXPECT_EQ(viewer->filmstripTrigger()->size(), QSize(50, viewer->height()));
    const QRect toolbar = viewer->functionToolbar()->geometry();
    EXPECT_EQ(toolbar.bottom(), area.bottom() - 21);
    EXPECT_EQ(toolbar.x(), area.center().x() - toolbar.width() / 2);
    EXPECT_GE(toolbar.width(), 8 * Brovik::FunctionToolbar::IconSize);
    viewer->window()->close();
}

TEST(ViewerWindow, PointerModeChangesTheSlideViewAndTooltip) {
    PresentationViewer* viewer = open(QStringLiteral("pointer.pptx"), {Qt::red});
    ASSERT_NE(viewer, nullptr);
    viewer->pointerAction()->setChecked(true);
    EXPECT_TRUE(viewer->slideControl()->isPointerEffectEnabled());
    EXPECT_EQ(viewer->pointerAction()->toolTip(), QStringLiteral("Pointer"));
    viewer->pointerAction()->setChecked(false);
    EXPECT_FALSE(viewer->slideControl()->isPointerEffectEnabled());
    viewer->window()->close();
}

TEST(ViewerWindow, EditorCoreIsTheViewerAlternative) {
    PresentationViewer* viewer = open(QStringLiteral("variant.pptx"), {Qt::red});
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->createEditorCore().which(), 3);
    EXPECT_THROW(viewer->setEditorCore(Tovrin::EditorCoreVariant(Tovrin::TextEditorCorePtr())),
                 boost::bad_get);
    viewer->window()->close();
}

TEST(ViewerWindow, DeclinedOperationsAreFatalErrors) {
    PresentationViewer* viewer = open(QStringLiteral("declined.pptx"), {Qt::red});
    ASSERT_NE(viewer, nullptr);
    const std::vector<std::pair<std::function<void()>, std::string>> cases = {
        {[&] { viewer->getNewCloudDocumentNameTemplate(); },
         "virtual QString KX::PresentationViewer::getNewCloudDocumentNameTemplate() const"},
        {[&] { viewer->exportDocument({}); },
         "virtual void KX::PresentationViewer::exportDocument(const Brovik::LocalDocumentInfo &)"},
        {[&] { viewer->onCloudConnectionStateChanged({}); },
         "virtual void KX::PresentationViewer::onCloudConnectionStateChanged(const "
         "Fernhill::CloudSessionController::ConnectionState)"},
        {[&] { viewer->getDocumentSharingInterface(); },
         "virtual Tovrin::DocumentSharingInterfacePtr KX::PresentationViewer::getDocumentSharingInterface()"},
        {[&] { viewer->getNewDocumentNameTemplate(); },
         "virtual QString KX::PresentationViewer::getNewDocumentNameTemplate() const"},
        {[&] { viewer->canShowSpecialCharactersDialog(); },
         "virtual bool KX::PresentationViewer::canShowSpecialCharactersDialog() const"},
        {[&] { viewer->onCollaboratorBubblePressed({}); },
         "virtual void KX::PresentationViewer::onCollaboratorBubblePressed(const Tovrin::ClientID &)"},
        {[&] { viewer->isImagePickerAvailableForCells(); },
         "virtual bool KX::PresentationViewer::isImagePickerAvailableForCells() const"},
        {[&] { viewer->canFormatCell(); }, "virtual bool KX::PresentationViewer::canFormatCell() const"},
        {[&] { viewer->canFormatShape(); }, "virtual bool KX::PresentationViewer::canFormatShape() const"},
        {[&] { viewer->setupCollaboratorsControllerIfNeeded(); },
         "virtual void KX::PresentationViewer::setupCollaboratorsControllerIfNeeded()"},
        {[&] { viewer->updateCollaboratorsControllerClients(); },
         "virtual void KX::PresentationViewer::updateCollaboratorsControllerClients()"},
        {[&] { viewer->selectSignatureLineByUUID({}); },
         "virtual void KX::PresentationViewer::selectSignatureLineByUUID(const KX::UUID &)"},
        {[&] { viewer->canUndo(); }, "virtual bool KX::PresentationViewer::canUndo() const"},
        {[&] { viewer->canRedo(); }, "virtual bool KX::PresentationViewer::canRedo() const"},
        {[&] { viewer->undo(); }, "virtual void KX::PresentationViewer::undo()"},
        {[&] { viewer->redo(); }, "virtual void KX::PresentationViewer::redo()"},
        {[&] { viewer->setCombineOperationForUndo(true); },
         "virtual void KX::PresentationViewer::setCombineOperationForUndo(const bool)"},
        {[&] { viewer->activateCommandsAssistant(); },
         "virtual void KX::PresentationViewer::activateCommandsAssistant()"},
        {[&] { viewer->getCommandsList(); },
         "virtual KX::Brovik::CommandsList KX::PresentationViewer::getCommandsList()"},
    };
    for (const auto& [call, signature] : cases) {
        try {
            call();
            ADD_FAILURE() << "no fatal error for " << signature;
        } catch (const KX::AbortException& e) {
            EXPECT_EQ(std::string(e.what()), "Fatal error: " + signature + " is not implemented");
        }
    }
    for (const auto& call : {std::function<void()>([&] { viewer->onSpreadsheetSelectionChanged(); }),
                             std::function<void()>([&] { viewer->onTextSelectionChanged(); })}) {
        try {
            call();
            ADD_FAILURE() << "an unreachable hook returned";
        } catch (const KX::AbortException& e) {
            EXPECT_EQ(std::string(e.what()), "Assertion failure: (false) Cannot be called here");
        }
    }
    viewer->window()->close();
}

// A printer of another kind than the presentation's is a defect of the caller.
class OtherPrinter : public Brovik::DocumentPrinter {
public:
    int getPageCount() const override { return 0; }
    bool print(QPrinter&) const override { return false; }
};

TEST(ViewerWindow, PrintDialogNeedsThePresentationPrinter) {
    PresentationViewer* viewer = open(QStringLiteral("printdialog.pptx"), {Qt::red, Qt::blue});
    ASSERT_NE(viewer, nullptr);
    QPrinter printer;
    OtherPrinter other;
    try {
        viewer->createPrintDialog(&printer, &other);
        ADD_FAILURE() << "accepted a foreign printer";
    } catch (const KX::AbortException& e) {
        EXPECT_EQ(std::string(e.what()), "Fatal error: Invalid documentPrinter type");
    }
    auto documentPrinter = viewer->createDocumentPrinter();
    ASSERT_NE(documentPrinter, nullptr);
    EXPECT_EQ(documentPrinter->getPageCount(), 2);
    EXPECT_NE(viewer->createPrintDialog(&printer, documentPrinter.get()), nullptr);
    viewer->window()->close();
}

TEST(ViewerWindow, DamagedFileIsReportedWithoutWindow) {
    auto& application = testApplication();
    const QString path = KX::Testing::scratchFolder() + QStringLiteral("/damaged.pptx");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("PK\x03\x04 this is no zip archive");
    file.close();
    const int before = static_cast<int>(application.editors().size());
    application.openFailures.clear();
    bool reported = true;
    EXPECT_FALSE(application.handlePath(
        path, [&](bool opened) { reported = opened; }, false, nullptr));
    EXPECT_FALSE(reported);
    EXPECT_EQ(application.editors().size(), before);
    ASSERT_EQ(application.openFailures.size(), 1);
    EXPECT_TRUE(application.openFailures.first().startsWith(path + QStringLiteral(": ")));
    EXPECT_GT(application.openFailures.first().size(), path.size() + 10);

    application.openFailures.clear();
    EXPECT_FALSE(application.handlePath(path + QStringLiteral(".missing"), {}, false, nullptr));
    EXPECT_EQ(application.openFailures.size(), 1);
}

} // namespace
