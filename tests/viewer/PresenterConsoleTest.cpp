// The presenter console: what it shows for the current slide, that either window moves both, and
// its elapsed time with pause and reset, on a clock the test sets.

#include "viewer/PresenterConsole.h"

#include "ViewerTestApplication.h"
#include "platform/brovik/slides/SlideControl.h"
#include "platform/brovik/slides/SlideNavigationController.h"
#include "viewer/PresentationViewer.h"

#include <QAction>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

using namespace KX;
using Testing::openDeck;

namespace {

QColor centreOf(const QImage& image) {
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

TEST(PresenterConsole, OnRequestShowsTheCurrentAndNextSlideAndFollowsEitherWindow) {
    PresentationViewer* viewer = openDeck(QStringLiteral("console.pptx"), {Qt::red, Qt::green, Qt::blue});
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->consoleAction()->shortcut(), QKeySequence(QStringLiteral("Alt+F5")));
    viewer->consoleAction()->trigger();
    PresenterConsole* console = viewer->presenterConsole();
    ASSERT_NE(console, nullptr);
    EXPECT_TRUE(console->isVisible());
    EXPECT_TRUE(console->isWindow());
    EXPECT_EQ(console->positionText(), QStringLiteral("Slide 1 of 3"));
    EXPECT_EQ(centreOf(console->currentImage()), QColor(Qt::red));
    EXPECT_EQ(centreOf(console->nextImage()), QColor(Qt::green));
    EXPECT_TRUE(console->notesText().isEmpty());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d$")).match(console->clockText()).hasMatch());

    // Keys in the console move the show.
    QTest::keyClick(console, Qt::Key_Right);
    EXPECT_EQ(viewer->slideControl()->getSlideIndex(), 1);
    EXPECT_EQ(console->positionText(), QStringLiteral("Slide 2 of 3"));
    EXPECT_EQ(centreOf(console->currentImage()), QColor(Qt::green));
    // The audience's window moves the console.
    viewer->slideNavigationController()->switchToLastSlide();
    EXPECT_EQ(console->positionText(), QStringLiteral("Slide 3 of 3"));
    EXPECT_TRUE(console->nextImage().isNull());
    // Asking again brings back the same console.
    viewer->consoleAction()->trigger();
    EXPECT_EQ(viewer->presenterConsole(), console);
    viewer->window()->close();
}

TEST(PresenterConsole, NotesOfTheCurrentSlideAndTheElapsedTime) {
    PresentationViewer* viewer = openDeck(QStringLiteral("console-time.pptx"), {Qt::red, Qt::green});
    ASSERT_NE(viewer, nullptr);
    qint64 now = 1000;
    PresenterConsole console(viewer->editorCore(), viewer->slideNavigationController(),
                             {QStringLiteral("Welcome everyone"), QStringLiteral("Questions?")}, nullptr,
                             [&now] { return now; });
    EXPECT_EQ(console.notesText(), QStringLiteral("Welcome everyone"));
    viewer->slideNavigationController()->switchToNextSlide();
    EXPECT_EQ(console.notesText(), QStringLiteral("Questions?"));

    EXPECT_EQ(console.elapsedText(), QStringLiteral("00:00:00"));
    now += 65'000;
    EXPECT_EQ(console.elapsedText(), QStringLiteral("00:01:05"));
    console.togglePause();
    EXPECT_TRUE(console.isPaused());
    now += 60'000;
    EXPECT_EQ(console.elapsedText(), QStringLiteral("00:01:05"));
    console.togglePause();
    now += 5'000;
    EXPECT_EQ(console.elapsedText(), QStringLiteral("00:01:10"));
    now += 3'600'000;
    EXPECT_EQ(console.elapsedText(), QStringLiteral("01:01:10"));
    console.resetElapsed();
    EXPECT_EQ(console.elapsedText(), QStringLiteral("00:00:00"));
    viewer->window()->close();
}

} // namespace
