// The window's toolbar: its buttons in order with English tool tips, the disabled icons of the
// navigation buttons, and the keys that stay in the window.

#include "PptxFixture.h"
#include "ViewerTestApplication.h"
#include "platform/brovik/toolbar/FunctionToolbar.h"
#include "viewer/PresentationViewer.h"

#include <QAction>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <gtest/gtest.h>

using namespace KX;
using Testing::openDeck;

namespace {

QImage pixmapOf(const QIcon& icon, QIcon::Mode mode) {
    return icon.pixmap(QSize(24, 24), mode, QIcon::Off).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage file(const QString& name) {
    return QImage(name).convertToFormat(QImage::Format_ARGB32);
}

// What the screen shows of a window: the backing store, where cached and partial repaints land.
QImage onScreen(QWidget* window) {
    window->repaint();
    QCoreApplication::processEvents();
    return window->screen()->grabWindow(window->winId()).toImage();
}

// The pointer entering or leaving a button, as the platform reports it.
void hover(QWidget* button, bool on) {
    button->setAttribute(Qt::WA_UnderMouse, on);
    QEvent event(on ? QEvent::Enter : QEvent::Leave);
    QCoreApplication::sendEvent(button, &event);
    button->update();
}

// One colour channel of `over` painted with `alpha` (0..1) onto `under`.
int blend(int under, int over, double alpha) {
    return static_cast<int>(std::lround(under * (1 - alpha) + over * alpha));
}

void expectColourNear(const QColor& seen, int red, int green, int blue, const char* what) {
    EXPECT_NEAR(seen.red(), red, 3) << what;
    EXPECT_NEAR(seen.green(), green, 3) << what;
    EXPECT_NEAR(seen.blue(), blue, 3) << what;
}

TEST(ViewerToolbar, PaintedAsItsStyleRulesSay) {
    PresentationViewer* viewer = openDeck(QStringLiteral("toolbar-paint.pptx"), {Qt::red, Qt::green});
    ASSERT_NE(viewer, nullptr);
    QWidget* window = viewer->window();
    Brovik::FunctionToolbar* toolbar = viewer->functionToolbar();
    toolbar->setVisibilityState(Brovik::FadeInOutWidget::State::Pinned, false);
    const QPoint margin = toolbar->mapTo(window, QPoint(2, 2));
    // The slide beside the toolbar: a single colour, as under it.
    const QPoint beside = toolbar->mapTo(window, QPoint(-10, 2));
    const auto expectToolbarOver = [&](const QImage& screen, const char* what) {
        const QColor under = screen.pixelColor(beside);
        expectColourNear(screen.pixelColor(margin), blend(under.red(), 0, 0.7), blend(under.green(), 0, 0.7),
                         blend(under.blue(), 0, 0.7), what);
        return screen.pixelColor(margin);
    };
    expectToolbarOver(onScreen(window), "toolbar background");

    QList<QToolButton*> buttons = toolbar->findChildren<QToolButton*>();
    for (int round = 0; round < 3; ++round) {
        for (QToolButton* button : buttons) {
            // Entering and leaving repaint the button alone, over the toolbar's translucent
            // background: where the effect's cached image was used, this darkened step by step.
            hover(button, true);
            onScreen(window);
            hover(button, false);
            expectToolbarOver(onScreen(window), "toolbar while hovering");
        }
    }
    QTest::mouseMove(window, QPoint(5, 5));
    const QImage after = onScreen(window);
    // Nothing builds up where buttons were hovered, nor in the toolbar's background.
    const QColor background = expectToolbarOver(after, "toolbar after hovering");
    for (QToolButton* button : buttons) {
        expectColourNear(after.pixelColor(button->mapTo(window, QPoint(1, 1))), background.red(),
                         background.green(), background.blue(), "button after hovering");
    }

    // The checked full-screen button has no panel of its own.
    viewer->fullScreenAction()->setChecked(true);
    toolbar->setVisibilityState(Brovik::FadeInOutWidget::State::Pinned, false);
    QTest::mouseMove(window, QPoint(5, 5));
    const QImage full = onScreen(window);
    QToolButton* fullScreenButton = nullptr;
    for (QToolButton* button : buttons) {
        if (button->defaultAction() == viewer->fullScreenAction()) {
            fullScreenButton = button;
        }
    }
    ASSERT_NE(fullScreenButton, nullptr);
    const QColor fullBackground = full.pixelColor(toolbar->mapTo(window, QPoint(2, 2)));
    expectColourNear(full.pixelColor(fullScreenButton->mapTo(window, QPoint(1, 1))), fullBackground.red(),
                     fullBackground.green(), fullBackground.blue(), "checked full-screen button");
    window->close();
}

TEST(ViewerToolbar, ButtonsInOrderWithEnglishToolTips) {
    PresentationViewer* viewer = openDeck(QStringLiteral("toolbar.pptx"), {Qt::red, Qt::green});
    ASSERT_NE(viewer, nullptr);
    QList<QToolButton*> buttons = viewer->functionToolbar()->findChildren<QToolButton*>();
    std::sort(buttons.begin(), buttons.end(), [](QToolButton* a, QToolButton* b) { return a->x() < b->x(); });
    QStringList tips;
    for (QToolButton* button : buttons) {
        tips << button->defaultAction()->toolTip();
    }
    EXPECT_EQ(tips, QStringList({"Previous", "Next", "Full Screen Mode", "Pointer", "Open", "Save As...",
                                 "Print...", "Help"}));
    ASSERT_EQ(buttons.size(), 8);
    EXPECT_EQ(buttons[3], viewer->pointerButton());
    EXPECT_TRUE(viewer->fullScreenAction()->isCheckable());
    EXPECT_TRUE(viewer->pointerAction()->isCheckable());
    for (QAction* action :
         {viewer->previousAction(), viewer->nextAction(), viewer->fullScreenAction(), viewer->pointerAction(),
          viewer->openAction(), viewer->saveAsAction(), viewer->printAction(), viewer->helpAction()}) {
        EXPECT_TRUE(action->text().isEmpty() || action->text() == action->toolTip());
        EXPECT_FALSE(action->icon().isNull());
    }

    // Navigation buttons have no keys of their own: the navigation controller handles the keys.
    EXPECT_FALSE(viewer->actions().contains(viewer->nextAction()));
    EXPECT_TRUE(viewer->actions().contains(viewer->saveAsAction()));
    viewer->window()->close();
}

TEST(ViewerToolbar, DisabledNavigationShowsItsOwnIcons) {
    PresentationViewer* viewer = openDeck(QStringLiteral("toolbar-icons.pptx"), {Qt::red, Qt::green});
    ASSERT_NE(viewer, nullptr);
    const QIcon previous = viewer->previousAction()->icon();
    EXPECT_EQ(pixmapOf(previous, QIcon::Disabled),
              file(QStringLiteral("icons:p_fn_bar_previous_slide_disable_ic")));
    EXPECT_EQ(pixmapOf(previous, QIcon::Normal), file(QStringLiteral("icons:p_fn_bar_previous_slide_ic")));
    const QIcon next = viewer->nextAction()->icon();
    EXPECT_EQ(pixmapOf(next, QIcon::Disabled), file(QStringLiteral("icons:p_fn_bar_next_slide_disable_ic")));
    const QIcon fullScreen = viewer->fullScreenAction()->icon();
    EXPECT_EQ(fullScreen.pixmap(QSize(24, 24), QIcon::Normal, QIcon::On)
                  .toImage()
                  .convertToFormat(QImage::Format_ARGB32),
              file(QStringLiteral("icons:p_fn_bar_fullscreen_out_ic")));
    viewer->window()->close();
}

} // namespace
