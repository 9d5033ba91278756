// The first-run tips overlay: what it blocks while it is up, its layout over the toolbar, the two
// ways to dismiss it, and that it never comes back once dismissed.

#include "viewer/TipsScreen.h"

#include "PptxFixture.h"
#include "ViewerTestApplication.h"
#include "platform/brovik/editor/EditorState.h"
#include "platform/brovik/settings/ApplicationSettings.h"
#include "platform/brovik/slides/SlideControl.h"
#include "platform/brovik/toolbar/FunctionToolbar.h"
#include "viewer/PresentationViewer.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace KX;
using Brovik::ApplicationSettings;
using Testing::openDeck;
using State = Brovik::FadeInOutWidget::State;

namespace {

PresentationViewer* openWithTips(const QString& name) {
    Testing::testApplication();
    ApplicationSettings::setTipsScreenEnabled(true);
    return openDeck(name, {Qt::red, Qt::green, Qt::blue});
}

void sendKey(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
}

void expectDismissed(PresentationViewer* viewer) {
    EXPECT_FALSE(viewer->tipsScreen()->isVisible());
    EXPECT_FALSE(ApplicationSettings::isTipsScreenEnabled());
    EXPECT_TRUE(viewer->getEditorState()->isCreated());
    EXPECT_EQ(viewer->functionToolbar()->getVisibilityState(), State::Hidden);
    EXPECT_EQ(viewer->fullScreenAction()->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_FALSE(viewer->firstSlideAction()->signalsBlocked());
    EXPECT_FALSE(viewer->openAction()->signalsBlocked());
    // Keyboard navigation works from now on.
    sendKey(viewer, Qt::Key_Right);
    EXPECT_EQ(viewer->slideControl()->getSlideIndex(), 1);
}

TEST(ViewerTips, WhileUpTheWindowWaitsAndItsKeysAreSilent) {
    PresentationViewer* viewer = openWithTips(QStringLiteral("tips-up.pptx"));
    ASSERT_NE(viewer, nullptr);
    TipsScreen* tips = viewer->tipsScreen();
    ASSERT_NE(tips, nullptr);
    EXPECT_TRUE(tips->isVisible());
    EXPECT_EQ(tips->objectName(), QStringLiteral("TipsScreenWidget"));
    EXPECT_EQ(tips->geometry(), viewer->rect());
    EXPECT_FALSE(viewer->getEditorState()->isCreated());
    EXPECT_EQ(viewer->functionToolbar()->getVisibilityState(), State::Pinned);
    EXPECT_TRUE(viewer->fullScreenAction()->shortcut().isEmpty());
    EXPECT_TRUE(viewer->firstSlideAction()->signalsBlocked());
    EXPECT_TRUE(viewer->openAction()->signalsBlocked());

    QWidget* window = viewer->window();
    QApplication::setActiveWindow(window);
    QTest::keyClick(window, Qt::Key_F5);
    EXPECT_FALSE(window->isFullScreen());
    sendKey(viewer, Qt::Key_End);
    sendKey(viewer, Qt::Key_Right);
    EXPECT_EQ(viewer->slideControl()->getSlideIndex(), 0);
    // Keys that reach the overlay itself, other than Esc, do nothing.
    QSignalSpy confirmed(tips, &TipsScreen::confirmed);
    sendKey(tips, Qt::Key_Right);
    sendKey(tips, Qt::Key_Return);
    EXPECT_EQ(confirmed.count(), 0);
    EXPECT_TRUE(tips->isVisible());
    EXPECT_EQ(viewer->slideControl()->getSlideIndex(), 0);

    // Mouse movement does not fade the toolbar out from under the tips.
    QTest::mouseMove(viewer->slideControl(), QPoint(100, 100));
    EXPECT_EQ(viewer->functionToolbar()->getVisibilityState(), State::Pinned);
    window->close();
}

TEST(ViewerTips, TheHighlightLiesOverThePointerButton) {
    PresentationViewer* viewer = openWithTips(QStringLiteral("tips-layout.pptx"));
    ASSERT_NE(viewer, nullptr);
    for (const QSize size : {QSize(800, 600), QSize(1280, 800), QSize(601, 455)}) {
        SCOPED_TRACE(size.width());
        viewer->window()->resize(size);
        QCoreApplication::processEvents();
        TipsScreen* tips = viewer->tipsScreen();
        ASSERT_EQ(tips->size(), viewer->size());
        QToolButton* button = viewer->pointerButton();
        const QRect toolbar = viewer->functionToolbar()->geometry();
        const QRect expected(button->mapTo(viewer, QPoint(0, 0)), button->size());
        EXPECT_EQ(tips->toolbarIcon()->geometry(), expected);
        EXPECT_EQ(tips->toolbarIcon()->objectName(), QStringLiteral("RedLine"));

        const QRect arrow = tips->bottomArrow()->geometry();
        EXPECT_EQ(arrow.size(), QSize(13, 67));
        EXPECT_LE(std::abs(arrow.center().x() - expected.center().x()), 0);
        EXPECT_EQ(arrow.bottom() + 1 + 10, toolbar.top());

        const QRect tip = tips->bottomTip()->geometry();
        EXPECT_EQ(tip.x(), arrow.x());
        EXPECT_EQ(tip.right(), tips->width() - 1);
        EXPECT_EQ(tip.bottom() + 1 + 12, arrow.top());
        EXPECT_GT(tip.height(), 0);

        EXPECT_EQ(tips->sideTitleRow()->pos(), QPoint(10, 160));
        EXPECT_EQ(tips->sideSubtitle()->geometry().topLeft(),
                  QPoint(92, tips->sideTitleRow()->geometry().bottom() + 12));
    }
    viewer->window()->close();
}

TEST(ViewerTips, TheButtonDismissesThemForGood) {
    PresentationViewer* viewer = openWithTips(QStringLiteral("tips-button.pptx"));
    ASSERT_NE(viewer, nullptr);
    auto* button = viewer->tipsScreen()->findChild<QPushButton*>(QStringLiteral("TipsOkButton"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("Okay, I've got it!"));
    QTest::mouseClick(button, Qt::LeftButton);
    expectDismissed(viewer);

    // A second presentation, and any later run (which reads the same settings), shows none.
    PresentationViewer* second = openDeck(QStringLiteral("tips-second.pptx"), {Qt::red});
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->tipsScreen(), nullptr);
    EXPECT_TRUE(second->getEditorState()->isCreated());
    EXPECT_FALSE(ApplicationSettings::open()->value(QStringLiteral("TipsScreen/enabled"), true).toBool());
    second->window()->close();
    viewer->window()->close();
}

TEST(ViewerTips, EscapeDismissesThem) {
    PresentationViewer* viewer = openWithTips(QStringLiteral("tips-escape.pptx"));
    ASSERT_NE(viewer, nullptr);
    QApplication::setActiveWindow(viewer->window());
    EXPECT_TRUE(viewer->tipsScreen()->isAncestorOf(QApplication::focusWidget()))
        << (QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className() : "none");
    sendKey(viewer->tipsScreen(), Qt::Key_Escape);
    expectDismissed(viewer);
    // Esc belongs to the window again: here it does not leave a full screen that is not on.
    QTest::keyClick(viewer->window(), Qt::Key_F5);
    EXPECT_TRUE(viewer->window()->isFullScreen());
    viewer->window()->close();
}

TEST(ViewerTips, LeavingFullScreenHidesThemForThisRunOnly) {
    Testing::testApplication();
    ApplicationSettings::setTipsScreenEnabled(true);
    PresentationViewer* viewer = openDeck(QStringLiteral("tips-fullscreen.pptx"), {Qt::red, Qt::blue});
    ASSERT_NE(viewer, nullptr);
    viewer->fullscreenRequested();
    EXPECT_TRUE(viewer->tipsScreen()->isVisible());
    EXPECT_EQ(viewer->functionToolbar()->getVisibilityState(), State::Pinned);
    // The toolbar's full-screen button is the one way out while the tips hold the keys.
    viewer->fullScreenAction()->trigger();
    EXPECT_FALSE(viewer->window()->isFullScreen());
    EXPECT_FALSE(viewer->tipsScreen()->isVisible());
    EXPECT_TRUE(ApplicationSettings::isTipsScreenEnabled());
    EXPECT_EQ(viewer->fullScreenAction()->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_FALSE(viewer->openAction()->signalsBlocked());
    sendKey(viewer, Qt::Key_Right);
    EXPECT_EQ(viewer->slideControl()->getSlideIndex(), 1);
    viewer->window()->close();
}

TEST(ViewerTips, AWindowManagerTakingTheWindowOutOfFullScreenLeavesThemUp) {
    PresentationViewer* viewer = openWithTips(QStringLiteral("tips-window-manager.pptx"));
    ASSERT_NE(viewer, nullptr);
    viewer->fullscreenRequested();
    // What window managers do while mapping a full-screen window: out and back in.
    viewer->window()->showNormal();
    EXPECT_TRUE(viewer->tipsScreen()->isVisible());
    viewer->window()->showFullScreen();
    EXPECT_TRUE(viewer->tipsScreen()->isVisible());
    EXPECT_TRUE(viewer->fullScreenAction()->shortcut().isEmpty());
    sendKey(viewer->tipsScreen(), Qt::Key_Escape);
    EXPECT_FALSE(viewer->tipsScreen()->isVisible());
    EXPECT_FALSE(ApplicationSettings::isTipsScreenEnabled());
    EXPECT_EQ(viewer->fullScreenAction()->shortcut(), QKeySequence(Qt::Key_Escape));
    sendKey(viewer, Qt::Key_Right);
    EXPECT_EQ(viewer->slideControl()->getSlideIndex(), 1);
    viewer->window()->close();
}

TEST(ViewerTips, PressedButtonIsWhiteAndTheTipsStayClearOfItInALowWindow) {
    PresentationViewer* viewer = openWithTips(QStringLiteral("tips-low.pptx"));
    ASSERT_NE(viewer, nullptr);
    QWidget* window = viewer->window();
    window->resize(800, 600);
    QCoreApplication::processEvents();
    TipsScreen* tips = viewer->tipsScreen();
    ASSERT_EQ(tips->size(), viewer->size());
    QPushButton* button = tips->okButton();
    EXPECT_FALSE(tips->bottomTip()->geometry().intersects(button->geometry()));
    EXPECT_EQ(button->geometry().center().x(), tips->rect().center().x());

    button->setDown(true);
    window->repaint();
    QCoreApplication::processEvents();
    const QImage screen = window->screen()->grabWindow(window->winId()).toImage();
    const QColor pressed = screen.pixelColor(button->mapTo(window, QPoint(4, 4)));
    EXPECT_EQ(pressed, QColor(Qt::white));
    button->setDown(false);
    window->close();
    // Later tests look at windows without tips.
    ApplicationSettings::setTipsScreenEnabled(false);
}

TEST(ViewerTips, TextsAreTheEnglishCatalogue) {
    PresentationViewer* viewer = openWithTips(QStringLiteral("tips-texts.pptx"));
    ASSERT_NE(viewer, nullptr);
    QStringList titles;
    QStringList subtitles;
    for (QLabel* label : viewer->tipsScreen()->findChildren<QLabel*>()) {
        if (label->objectName() == QStringLiteral("TitleTipDescription")) {
            titles << label->text();
        } else if (label->objectName() == QStringLiteral("SubtitleTipDescription")) {
            subtitles << label->text();
            EXPECT_TRUE(label->wordWrap());
        }
    }
    titles.sort();
    EXPECT_EQ(titles, QStringList({QStringLiteral("Move pointer"), QStringLiteral("Switch on/off")}));
    ASSERT_EQ(subtitles.size(), 2);
    EXPECT_TRUE(subtitles.join(QString()).contains(QStringLiteral("through the slides using the filmstrip")));
    EXPECT_TRUE(subtitles.join(QString()).contains(
        QStringLiteral("<p><span style=\"color:#a9a9a9;\">of the screen")));
    EXPECT_EQ(viewer->tipsScreen()->findChildren<QFrame*>(QStringLiteral("RedLine")).size(), 3);
    viewer->window()->close();
}

} // namespace
