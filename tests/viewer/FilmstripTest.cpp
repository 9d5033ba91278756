// The filmstrip of a document window: parked left of the window, sliding in from the trigger strip
// and out again, numbered tabs on the thumbnails, thumbnails rendered in the background, and a
// click on a thumbnail moving the presentation.

#include "PptxFixture.h"
#include "ViewerTestApplication.h"
#include "platform/brovik/document/MediaProvider.h"
#include "platform/brovik/slides/SlideControl.h"
#include "platform/brovik/slides/SlideNavigationController.h"
#include "viewer/PresentationViewer.h"
#include "viewer/StyledFilmstrip.h"

#include <QAction>
#include <QPropertyAnimation>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace KX;
using Testing::openDeck;

namespace {

void send(QObject* target, QEvent::Type type) {
    QEvent event(type);
    QCoreApplication::sendEvent(target, &event);
}

// Ends the running animation at once; it deletes itself when it stops.
void finish(QPropertyAnimation* animation) {
    animation->setCurrentTime(animation->duration());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void slideIn(PresentationViewer* viewer) {
    send(viewer->filmstripTrigger(), QEvent::Enter);
    ASSERT_NE(viewer->filmstripAnimation(), nullptr);
    finish(viewer->filmstripAnimation());
}

void waitForThumbnails(StyledFilmstrip* filmstrip) {
    filmstrip->getMediaProvider()->threadPool().waitForDone();
    QCoreApplication::sendPostedEvents();
}

TEST(ViewerFilmstrip, SlidesInFromTheTriggerAndOutAgain) {
    PresentationViewer* viewer = openDeck(QStringLiteral("filmstrip.pptx"), {Qt::red, Qt::green});
    ASSERT_NE(viewer, nullptr);
    StyledFilmstrip* filmstrip = viewer->filmstrip();
    ASSERT_NE(filmstrip, nullptr);
    const int h = viewer->height();
    EXPECT_EQ(filmstrip->width(), 235);
    EXPECT_TRUE(filmstrip->isVisibleTo(viewer));
    EXPECT_EQ(filmstrip->pos(), QPoint(-235, 0));
    EXPECT_EQ(viewer->filmstripAnimation(), nullptr);

    send(viewer->filmstripTrigger(), QEvent::Enter);
    QPropertyAnimation* in = viewer->filmstripAnimation();
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->duration(), 200);
    EXPECT_EQ(in->easingCurve().type(), QEasingCurve::OutQuad);
    in->setCurrentTime(0);
    EXPECT_EQ(filmstrip->geometry(), QRect(-235, 0, 235, h));
    in->setCurrentTime(100);
    EXPECT_GT(filmstrip->x(), -235 / 2); // OutQuad is past half way at half time
    EXPECT_LT(filmstrip->x(), 0);

    // Touching the edge again while it moves changes nothing.
    send(viewer->filmstripTrigger(), QEvent::Enter);
    EXPECT_EQ(viewer->filmstripAnimation(), in);

    finish(in);
    EXPECT_EQ(viewer->filmstripAnimation(), nullptr);
    EXPECT_EQ(filmstrip->geometry(), QRect(0, 0, 235, h));
    EXPECT_TRUE(filmstrip->isVisible());

    // A resize keeps the shown column as high as the window.
    viewer->window()->resize(900, 700);
    QCoreApplication::processEvents();
    EXPECT_EQ(filmstrip->geometry(), QRect(0, 0, 235, viewer->height()));

    send(filmstrip, QEvent::Leave);
    QPropertyAnimation* out = viewer->filmstripAnimation();
    ASSERT_NE(out, nullptr);
    out->setCurrentTime(100);
    EXPECT_LT(filmstrip->x(), 0);
    EXPECT_TRUE(filmstrip->isVisible());
    finish(out);
    EXPECT_EQ(viewer->filmstripAnimation(), nullptr);
    EXPECT_EQ(filmstrip->x(), -235);
    EXPECT_FALSE(filmstrip->isVisible());

    // And in again from the hidden state.
    slideIn(viewer);
    EXPECT_TRUE(filmstrip->isVisible());
    EXPECT_EQ(filmstrip->geometry(), QRect(0, 0, 235, viewer->height()));
    viewer->window()->close();
}

TEST(ViewerFilmstrip, LeavingWhileSlidingInEndsOutside) {
    PresentationViewer* viewer = openDeck(QStringLiteral("filmstrip-leave.pptx"), {Qt::red});
    ASSERT_NE(viewer, nullptr);
    send(viewer->filmstripTrigger(), QEvent::Enter);
    QPointer<QPropertyAnimation> in = viewer->filmstripAnimation();
    ASSERT_NE(in, nullptr);
    in->setCurrentTime(100);
    send(viewer->filmstrip(), QEvent::Leave);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(in.isNull()); // the slide-in gave way
    ASSERT_NE(viewer->filmstripAnimation(), nullptr);
    finish(viewer->filmstripAnimation());
    EXPECT_FALSE(viewer->filmstrip()->isVisible());
    EXPECT_LE(viewer->filmstrip()->geometry().right(), -1);
    viewer->window()->close();
}

TEST(ViewerFilmstrip, TabsAreNumberedAndTheCurrentOneIsRed) {
    PresentationViewer* viewer =
        openDeck(QStringLiteral("tabs.pptx"), {Qt::darkBlue, Qt::darkGreen, Qt::darkBlue});
    ASSERT_NE(viewer, nullptr);
    slideIn(viewer);
    StyledFilmstrip* filmstrip = viewer->filmstrip();
    filmstrip->viewport()->grab(); // asks for the thumbnails
    waitForThumbnails(filmstrip);
    viewer->slideNavigationController()->setCurrentSlideIndex(1);
    EXPECT_EQ(filmstrip->getCurrentIndex(), 1);

    const QImage image = filmstrip->viewport()->grab().toImage();
    const QMargins margins = filmstrip->getLayout()->getItemMargins();
    EXPECT_EQ(margins, QMargins(20, 2, 28, 14));
    for (int index = 0; index < 3; ++index) {
        SCOPED_TRACE(index);
        const QRect inner = filmstrip->itemRectInViewport(index).marginsRemoved(margins);
        const int right = inner.right();
        const int bottom = inner.bottom();
        // Tab fill, away from the number.
        const QColor fill = image.pixelColor(right - 2, bottom - 29);
        // The number sits in (right - 27, bottom - 32, 28, 24).
        int light = 0;
        int dark = 0;
        for (int y = bottom - 28; y < bottom - 12; ++y) {
            for (int x = right - 20; x < right - 5; ++x) {
                const QColor c = image.pixelColor(x, y);
                light += c.red() > 235 && c.green() > 235 && c.blue() > 235;
                dark += c.red() < 90 && c.green() < 90 && c.blue() < 90;
            }
        }
        if (index == 1) {
            EXPECT_GT(fill.red(), 190) << fill.name().toStdString();
            EXPECT_LT(fill.green(), 110) << fill.name().toStdString();
            EXPECT_GT(light, 3);
            EXPECT_EQ(dark, 0);
        } else {
            const int low = std::min({fill.red(), fill.green(), fill.blue()});
            const int high = std::max({fill.red(), fill.green(), fill.blue()});
            EXPECT_GT(low, 190) << fill.name().toStdString();
            EXPECT_LT(high - low, 30) << fill.name().toStdString();
            EXPECT_GT(dark, 3);
        }
        // The thumbnail itself shows the slide's colour left of the tab.
        const QColor slide = image.pixelColor(inner.left() + inner.width() / 3, inner.center().y());
        EXPECT_GT(index == 1 ? slide.green() : slide.blue(), 100) << slide.name().toStdString();
        EXPECT_LT(slide.red(), 40) << slide.name().toStdString();
    }
    viewer->window()->close();
}

TEST(ViewerFilmstrip, ThumbnailsAreRenderedInTheBackgroundAndKept) {
    PresentationViewer* viewer = openDeck(QStringLiteral("background-thumbs.pptx"), {Qt::red, Qt::green});
    ASSERT_NE(viewer, nullptr);
    StyledFilmstrip* filmstrip = viewer->filmstrip();
    EXPECT_FALSE(filmstrip->hasThumbnail(0));
    slideIn(viewer);
    filmstrip->viewport()->grab(); // the first paint only asks for the thumbnails
    waitForThumbnails(filmstrip);
    EXPECT_TRUE(filmstrip->hasThumbnail(0));
    EXPECT_TRUE(filmstrip->hasThumbnail(1));
    viewer->window()->close();
}

TEST(ViewerFilmstrip, ClickingAThumbnailMovesThePresentation) {
    PresentationViewer* viewer = openDeck(QStringLiteral("click.pptx"), {Qt::red, Qt::green, Qt::blue});
    ASSERT_NE(viewer, nullptr);
    slideIn(viewer);
    StyledFilmstrip* filmstrip = viewer->filmstrip();
    EXPECT_FALSE(viewer->previousAction()->isEnabled());

    QTest::mouseClick(filmstrip->viewport(), Qt::LeftButton, {}, filmstrip->itemRectInViewport(2).center());
    EXPECT_EQ(viewer->slideNavigationController()->getCurrentSlideIndex(), 2);
    EXPECT_EQ(viewer->slideControl()->getSlideIndex(), 2);
    EXPECT_EQ(filmstrip->getCurrentIndex(), 2);
    EXPECT_TRUE(viewer->previousAction()->isEnabled());
    EXPECT_FALSE(viewer->nextAction()->isEnabled());

    QTest::mouseClick(filmstrip->viewport(), Qt::LeftButton, {}, filmstrip->itemRectInViewport(1).center());
    EXPECT_EQ(viewer->slideControl()->getSlideIndex(), 1);
    EXPECT_TRUE(viewer->nextAction()->isEnabled());

    // Below the last thumbnail there is nothing to choose.
    const QPoint below = filmstrip->itemRectInViewport(2).bottomLeft() + QPoint(20, 5);
    if (filmstrip->viewport()->rect().contains(below)) {
        QTest::mouseClick(filmstrip->viewport(), Qt::LeftButton, {}, below);
        EXPECT_EQ(viewer->slideControl()->getSlideIndex(), 1);
    }

    // Keys move the filmstrip's current thumbnail too.
    viewer->slideNavigationController()->switchToFirstSlide();
    EXPECT_EQ(filmstrip->getCurrentIndex(), 0);
    viewer->window()->close();
}

} // namespace

namespace {

TEST(ViewerFilmstrip, ThumbnailsKeptStayWithinTheBudgetWhateverTheLengthOfTheDeck) {
    std::vector<QColor> colours;
    for (int i = 0; i < 40; ++i) {
        colours.push_back(QColor::fromHsv(i * 9, 200, 200));
    }
    PresentationViewer* viewer = openDeck(QStringLiteral("long.pptx"), colours);
    ASSERT_NE(viewer, nullptr);
    slideIn(viewer);
    StyledFilmstrip* filmstrip = viewer->filmstrip();
    const QMargins margins = filmstrip->getLayout()->getItemMargins();
    const QRect slide = filmstrip->slideRectIn(filmstrip->itemRectInViewport(0).marginsRemoved(margins));
    const qint64 thumbnail = qint64(slide.width()) * slide.height() * 4;
    filmstrip->setThumbnailBudget(thumbnail * 7 / 2);

    QScrollBar* bar = filmstrip->verticalScrollBar();
    for (int value = 0; value <= bar->maximum(); value += std::max(1, bar->pageStep() / 2)) {
        bar->setValue(value);
        filmstrip->viewport()->grab(); // asks for the thumbnails in view
        waitForThumbnails(filmstrip);
        EXPECT_LE(filmstrip->thumbnailCount(), 3);
    }
    // Those in view are still drawn, from the cache or afresh.
    bar->setValue(bar->maximum());
    filmstrip->viewport()->grab();
    waitForThumbnails(filmstrip);
    const QImage image = filmstrip->viewport()->grab().toImage();
    const QRect last = filmstrip->slideRectIn(filmstrip->itemRectInViewport(39).marginsRemoved(margins));
    EXPECT_EQ(image.pixelColor(last.left() + 10, last.top() + 10).rgb(), colours.back().rgb());
    EXPECT_LE(filmstrip->thumbnailCount(), 3);
    viewer->window()->close();
}

} // namespace
