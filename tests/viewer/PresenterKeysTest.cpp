// The keys and mouse gestures presenters expect: blanking the screen, typing a slide number, the
// mouse wheel and the right button, and the end of the show after the last slide.

#include "viewer/PresenterKeys.h"

#include "ViewerTestApplication.h"
#include "platform/brovik/slides/SlideControl.h"
#include "viewer/BlankScreen.h"
#include "viewer/PresentationViewer.h"

#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace KX;
using Testing::openDeck;

namespace {

PresentationViewer* openPresenting(const QString& name) {
    PresentationViewer* viewer = openDeck(name, {Qt::red, Qt::green, Qt::blue});
    if (viewer) {
        QApplication::setActiveWindow(viewer->window());
        viewer->fullscreenRequested();
    }
    return viewer;
}

int slideIndex(const PresentationViewer* viewer) {
    return viewer->slideControl()->getSlideIndex();
}

void wheel(QWidget* target, int delta) {
    QWheelEvent event(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(target, &event);
}

TEST(PresenterKeys, BlankingToBlackOrWhiteAndAnyKeyReturns) {
    PresentationViewer* viewer = openPresenting(QStringLiteral("blank.pptx"));
    ASSERT_NE(viewer, nullptr);
    QWidget* window = viewer->window();
    BlankScreen* blank = viewer->blankScreen();
    const struct {
        Qt::Key key;
        QColor colour;
    } blanks[] = {{Qt::Key_B, Qt::black},
                  {Qt::Key_Period, Qt::black},
                  {Qt::Key_W, Qt::white},
                  {Qt::Key_Comma, Qt::white}};
    for (const auto& [key, colour] : blanks) {
        QTest::keyClick(viewer, key);
        EXPECT_TRUE(blank->isVisible()) << key;
        EXPECT_EQ(blank->colour(), colour) << key;
        EXPECT_EQ(blank->geometry(), viewer->rect());
        // The key that brings the slide back does nothing else.
        QTest::keyClick(viewer, Qt::Key_Right);
        EXPECT_FALSE(blank->isVisible());
        EXPECT_EQ(slideIndex(viewer), 0);
    }
    // Esc brings the slide back and keeps the show in full screen.
    QTest::keyClick(viewer, Qt::Key_B);
    QTest::keyClick(viewer, Qt::Key_Escape);
    EXPECT_FALSE(blank->isVisible());
    EXPECT_TRUE(window->isFullScreen());
    // So does a click, without advancing.
    QTest::keyClick(viewer, Qt::Key_W);
    QTest::mouseClick(blank, Qt::LeftButton);
    EXPECT_FALSE(blank->isVisible());
    EXPECT_EQ(slideIndex(viewer), 0);
    window->close();
}

TEST(PresenterKeys, TypedSlideNumberAndEnter) {
    PresentationViewer* viewer = openPresenting(QStringLiteral("number.pptx"));
    ASSERT_NE(viewer, nullptr);
    QWidget* window = viewer->window();
    QTest::keyClicks(viewer, QStringLiteral("3"));
    EXPECT_EQ(viewer->presenterKeys()->typedNumber(), QStringLiteral("3"));
    EXPECT_EQ(slideIndex(viewer), 0);
    QTest::keyClick(viewer, Qt::Key_Return);
    EXPECT_EQ(slideIndex(viewer), 2);
    QTest::keyClicks(viewer, QStringLiteral("2"));
    QTest::keyClick(viewer, Qt::Key_Enter);
    EXPECT_EQ(slideIndex(viewer), 1);
    // Beyond the last slide: the last one. Zero goes nowhere.
    QTest::keyClicks(viewer, QStringLiteral("12"));
    QTest::keyClick(viewer, Qt::Key_Return);
    EXPECT_EQ(slideIndex(viewer), 2);
    QTest::keyClicks(viewer, QStringLiteral("0"));
    QTest::keyClick(viewer, Qt::Key_Return);
    EXPECT_EQ(slideIndex(viewer), 2);
    // Another key forgets the typed digits; Enter alone goes on as before.
    QTest::keyClicks(viewer, QStringLiteral("1"));
    QTest::keyClick(viewer, Qt::Key_Left);
    EXPECT_EQ(slideIndex(viewer), 1);
    EXPECT_TRUE(viewer->presenterKeys()->typedNumber().isEmpty());
    QTest::keyClick(viewer, Qt::Key_Return);
    EXPECT_EQ(slideIndex(viewer), 2);
    window->close();
}

TEST(PresenterKeys, WheelAndRightButton) {
    PresentationViewer* viewer = openPresenting(QStringLiteral("wheel.pptx"));
    ASSERT_NE(viewer, nullptr);
    Brovik::SlideControl* slides = viewer->slideControl();
    wheel(slides, -120);
    EXPECT_EQ(slideIndex(viewer), 1);
    // A touch pad's small steps add up to one slide.
    wheel(slides, -60);
    EXPECT_EQ(slideIndex(viewer), 1);
    wheel(slides, -60);
    EXPECT_EQ(slideIndex(viewer), 2);
    wheel(slides, 120);
    EXPECT_EQ(slideIndex(viewer), 1);
    QTest::mouseClick(slides, Qt::RightButton);
    EXPECT_EQ(slideIndex(viewer), 0);
    viewer->window()->close();
}

TEST(PresenterKeys, EndOfShowAfterTheLastSlide) {
    PresentationViewer* viewer = openPresenting(QStringLiteral("end.pptx"));
    ASSERT_NE(viewer, nullptr);
    QWidget* window = viewer->window();
    QTest::keyClick(viewer, Qt::Key_End);
    QTest::keyClick(viewer, Qt::Key_Space);
    BlankScreen* blank = viewer->blankScreen();
    EXPECT_TRUE(blank->isVisible());
    EXPECT_EQ(blank->colour(), QColor(Qt::black));
    EXPECT_EQ(blank->text(), QStringLiteral("End of slide show, click to exit."));
    EXPECT_EQ(slideIndex(viewer), 2);
    // Esc there leaves the show.
    QTest::keyClick(viewer, Qt::Key_Escape);
    EXPECT_FALSE(blank->isVisible());
    EXPECT_FALSE(window->isFullScreen());

    // A click on the last slide ends the show too, and a click on the end screen leaves it.
    viewer->fullscreenRequested();
    QTest::mouseClick(viewer->slideControl(), Qt::LeftButton);
    EXPECT_TRUE(viewer->presenterKeys()->isShowingEnd());
    QTest::mouseClick(blank, Qt::LeftButton);
    EXPECT_FALSE(blank->isVisible());
    EXPECT_FALSE(window->isFullScreen());
    window->close();
}

} // namespace
