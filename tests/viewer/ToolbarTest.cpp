// The window's toolbar: its buttons in order with English tool tips, the disabled icons of the
// navigation buttons, and the keys that stay in the window.

#include "PptxFixture.h"
#include "ViewerTestApplication.h"
#include "platform/brovik/toolbar/FunctionToolbar.h"
#include "viewer/PresentationViewer.h"

#include <QAction>
#include <QToolButton>
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
