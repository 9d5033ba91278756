#include "TestApplication.h"
#include "platform/brovik/slides/SlideNavigationController.h"

#include <QKeyEvent>
#include <QSignalSpy>
#include <gtest/gtest.h>

using KX::Brovik::SlideNavigationController;

namespace {

bool press(QObject& target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    return QCoreApplication::sendEvent(&target, &event) && event.isAccepted();
}

TEST(BrovikNavigation, IndexStaysInRangeAndChangesAreSignalled) {
    KX::Testing::ensureApplication();
    SlideNavigationController controller;
    QSignalSpy changes(&controller, &SlideNavigationController::currentSlideChanged);
    controller.setCurrentSlideIndex(0); // no slides yet
    EXPECT_EQ(controller.getCurrentSlideIndex(), -1);
    EXPECT_EQ(changes.count(), 0);

    controller.setMaxSlideIndex(2);
    controller.setCurrentSlideIndex(0);
    EXPECT_EQ(changes.count(), 1);
    controller.switchToPreviousSlide();
    EXPECT_EQ(controller.getCurrentSlideIndex(), 0);
    EXPECT_EQ(changes.count(), 1);
    controller.setCurrentSlideIndex(99);
    EXPECT_EQ(controller.getCurrentSlideIndex(), 2);
    controller.switchToNextSlide();
    EXPECT_EQ(changes.count(), 2);
    controller.setMaxSlideIndex(1); // the presentation lost a slide
    EXPECT_EQ(controller.getCurrentSlideIndex(), 1);
    EXPECT_EQ(changes.last().first().toInt(), 1);
}

TEST(BrovikNavigation, KeysOfAWatchedObjectNavigate) {
    KX::Testing::ensureApplication();
    SlideNavigationController controller;
    controller.setMaxSlideIndex(4);
    controller.setCurrentSlideIndex(0);
    QObject window;
    window.installEventFilter(&controller);

    for (int key : {Qt::Key_Right, Qt::Key_Space, Qt::Key_PageDown, Qt::Key_Down}) {
        press(window, key);
    }
    EXPECT_EQ(controller.getCurrentSlideIndex(), 4);
    press(window, Qt::Key_Left);
    press(window, Qt::Key_Backspace);
    EXPECT_EQ(controller.getCurrentSlideIndex(), 2);
    press(window, Qt::Key_Home);
    EXPECT_EQ(controller.getCurrentSlideIndex(), 0);
    press(window, Qt::Key_End);
    EXPECT_EQ(controller.getCurrentSlideIndex(), 4);
    // Shortcuts with modifiers belong to the window's actions.
    press(window, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(controller.getCurrentSlideIndex(), 4);
    press(window, Qt::Key_A);
    EXPECT_EQ(controller.getCurrentSlideIndex(), 4);
}

} // namespace
