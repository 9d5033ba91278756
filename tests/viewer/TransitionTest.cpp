// Slide transitions: the frames of each kind at fixed moments, and the window playing a slide's own
// transition when the show moves on by one slide, and cutting otherwise.

#include "ViewerTestApplication.h"
#include "platform/brovik/slides/SlideControl.h"
#include "platform/brovik/slides/SlideNavigationController.h"
#include "viewer/PresentationViewer.h"
#include "viewer/SlideTransitionPlayer.h"
#include "viewer/TransitionFrame.h"

#include <QPainter>
#include <QVariantAnimation>
#include <gtest/gtest.h>

using namespace KX;
using Kind = Tovrin::SlideTransition::Kind;

namespace {

const QRect Area(0, 0, 100, 60);

QPixmap filled(QColor colour) {
    QPixmap pixmap(Area.size());
    pixmap.fill(colour);
    return pixmap;
}

QImage frame(const Tovrin::SlideTransition& transition, double progress) {
    Testing::testApplication();
    QImage image(Area.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintTransitionFrame(painter, Area, filled(Qt::red), filled(Qt::blue), transition, progress);
    return image;
}

Tovrin::SlideTransition make(Kind kind, QPoint motion = {-1, 0}) {
    Tovrin::SlideTransition t;
    t.kind = kind;
    t.motion = motion;
    return t;
}

bool near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) <= 3 && std::abs(a.green() - b.green()) <= 3 &&
           std::abs(a.blue() - b.blue()) <= 3;
}

// Which of the two pictures shows at each of the points.
std::string sides(const QImage& image, std::initializer_list<QPoint> points) {
    std::string out;
    for (const QPoint& p : points) {
        const QColor c = image.pixelColor(p);
        out += near(c, Qt::red) ? 'R' : near(c, Qt::blue) ? 'B' : '?';
    }
    return out;
}

TEST(ViewerTransitionFrames, FadesCrossOrPassThroughTheirColour) {
    Tovrin::SlideTransition t = make(Kind::Fade);
    EXPECT_TRUE(near(frame(t, 0).pixelColor(50, 30), Qt::red));
    EXPECT_TRUE(near(frame(t, 0.5).pixelColor(50, 30), QColor(127, 0, 128)));
    EXPECT_TRUE(near(frame(t, 1).pixelColor(50, 30), Qt::blue));
    t.throughColor = Qt::black;
    EXPECT_TRUE(near(frame(t, 0.25).pixelColor(50, 30), QColor(127, 0, 0)));
    EXPECT_TRUE(near(frame(t, 0.5).pixelColor(50, 30), Qt::black));
    EXPECT_TRUE(near(frame(t, 0.75).pixelColor(50, 30), QColor(0, 0, 128)));
}

TEST(ViewerTransitionFrames, PushCoverAndWipeMoveTheWayTheyAreTold) {
    const auto across = {QPoint(10, 30), QPoint(40, 30), QPoint(60, 30), QPoint(90, 30)};
    const auto down = {QPoint(50, 5), QPoint(50, 25), QPoint(50, 35), QPoint(50, 55)};
    // Halfway through a push to the left, the old slide fills the left half, the new the right.
    EXPECT_EQ(sides(frame(make(Kind::Push, {-1, 0}), 0.5), across), "RRBB");
    EXPECT_EQ(sides(frame(make(Kind::Push, {1, 0}), 0.5), across), "BBRR");
    EXPECT_EQ(sides(frame(make(Kind::Push, {0, -1}), 0.5), down), "RRBB");
    // A cover coming down from the top has covered the upper half.
    EXPECT_EQ(sides(frame(make(Kind::Cover, {0, 1}), 0.5), down), "BBRR");
    EXPECT_EQ(sides(frame(make(Kind::Cover, {1, 1}), 0.5), {QPoint(10, 5), QPoint(90, 55)}), "BR");
    // A quarter through a wipe to the right.
    EXPECT_EQ(sides(frame(make(Kind::Wipe, {1, 0}), 0.25), across), "BRRR");
    EXPECT_EQ(sides(frame(make(Kind::Wipe, {-1, 0}), 0.25), across), "RRRB");
    EXPECT_EQ(sides(frame(make(Kind::Wipe, {0, 1}), 0.5), down), "BBRR");
    // Nothing new at the start, nothing old at the end.
    EXPECT_EQ(sides(frame(make(Kind::Push), 0), across), "RRRR");
    EXPECT_EQ(sides(frame(make(Kind::Wipe), 1), across), "BBBB");
}

TEST(ViewerTransitionFrames, SplitsOpenFromTheCentreOrCloseFromTheEdges) {
    const auto across = {QPoint(10, 30), QPoint(40, 30), QPoint(60, 30), QPoint(90, 30)};
    Tovrin::SlideTransition t = make(Kind::Split);
    t.verticalSplit = true;
    EXPECT_EQ(sides(frame(t, 0.5), across), "RBBR");
    t.inward = true;
    EXPECT_EQ(sides(frame(t, 0.5), across), "BRRB");
    t.verticalSplit = false;
    EXPECT_EQ(sides(frame(t, 0.5), {QPoint(50, 5), QPoint(50, 25), QPoint(50, 35), QPoint(50, 55)}), "BRRB");
    // A cut shows the new slide at once.
    EXPECT_EQ(sides(frame(make(Kind::Cut), 0), across), "BBBB");
}

QColor slideColourAt(PresentationViewer* viewer, double fx) {
    Brovik::SlideControl* view = viewer->slideControl();
    const QRect slide = view->slideRect();
    const QImage image = view->grab().toImage();
    return image.pixelColor(slide.left() + int(slide.width() * fx), slide.center().y());
}

TEST(ViewerTransitions, MovingOnPlaysTheNextSlidesTransitionAndOtherMovesCut) {
    PresentationViewer* viewer =
        Testing::openDeck(QStringLiteral("transitions.pptx"), {Qt::red, Qt::green, Qt::blue, Qt::yellow},
                          {"", R"(<p:transition spd="slow"><p:wipe dir="r"/></p:transition>)", "",
                           R"(<p:transition><p:fade/></p:transition>)"});
    ASSERT_NE(viewer, nullptr);
    SlideTransitionPlayer* player = viewer->transitionPlayer();
    ASSERT_NE(player, nullptr);
    Brovik::SlideNavigationController* navigation = viewer->slideNavigationController();

    navigation->setCurrentSlideIndex(1);
    ASSERT_TRUE(player->isPlaying());
    EXPECT_EQ(player->transition().kind, Kind::Wipe);
    QVariantAnimation* animation = player->animation();
    EXPECT_EQ(animation->duration(), 1000);
    animation->pause();
    animation->setCurrentTime(500);
    // The player lies over the view: halfway, the new slide has reached the middle from the left.
    EXPECT_TRUE(near(slideColourAt(viewer, 0.25), Qt::green));
    EXPECT_TRUE(near(slideColourAt(viewer, 0.75), Qt::red));
    animation->setCurrentTime(1000);
    EXPECT_FALSE(player->isPlaying());
    EXPECT_FALSE(player->isVisible());
    EXPECT_TRUE(near(slideColourAt(viewer, 0.75), Qt::green));

    // Slide 3 comes in with a cut; going back and jumping never play a transition.
    navigation->setCurrentSlideIndex(2);
    EXPECT_FALSE(player->isPlaying());
    EXPECT_TRUE(near(slideColourAt(viewer, 0.5), Qt::blue));
    navigation->setCurrentSlideIndex(1);
    EXPECT_FALSE(player->isPlaying());
    navigation->setCurrentSlideIndex(3);
    EXPECT_FALSE(player->isPlaying());
    EXPECT_TRUE(near(slideColourAt(viewer, 0.5), Qt::yellow));

    // Moving on during a transition ends it and starts the next one from where the show is.
    navigation->setCurrentSlideIndex(0);
    navigation->setCurrentSlideIndex(1);
    ASSERT_TRUE(player->isPlaying());
    navigation->setCurrentSlideIndex(2);
    EXPECT_FALSE(player->isPlaying());
    EXPECT_EQ(viewer->slideControl()->getSlideIndex(), 2);
    viewer->window()->close();
}

} // namespace
