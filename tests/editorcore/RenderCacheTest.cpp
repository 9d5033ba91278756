#include "platform/brovik/editorcore/render/RenderCache.h"

#include "EditorCoreFixture.h"

#include <thread>

namespace KX::Tovrin::Test {
namespace {

class EditorCoreCache : public EditorCoreTest {
protected:
    QString deck(int slides) {
        PptxRecipe deck;
        for (int i = 0; i < slides; ++i)
            deck.slideShapes.push_back("");
        deck.slideBackgrounds = {
            "<p:bg><p:bgPr><a:solidFill><a:srgbClr val=\"FF0000\"/></a:solidFill></p:bgPr></p:bg>"};
        return write("deck.pptx", pptxEntries(deck));
    }
};

TEST_F(EditorCoreCache, RepeatedRendersComeFromTheCacheUnlessDisabled) {
    _core.load(deck(2));
    const QImage first = _core.renderSlide(0, QSize(160, 120));
    EXPECT_EQ(_core.renderSlide(0, QSize(160, 120)).cacheKey(), first.cacheKey());
    EXPECT_NE(_core.renderSlide(0, QSize(80, 60)).cacheKey(), first.cacheKey());
    _core.setCacheEnabled(false);
    const QImage fresh = _core.renderSlide(0, QSize(160, 120));
    EXPECT_NE(fresh.cacheKey(), first.cacheKey());
    EXPECT_EQ(fresh, first);
}

TEST_F(EditorCoreCache, ReloadingDropsRendersOfThePreviousDocument) {
    _core.load(deck(1));
    const QImage red = _core.renderSlide(0, QSize(40, 30));
    EXPECT_TRUE(near(red.pixelColor(20, 15), QColor(255, 0, 0)));
    PptxRecipe deck;
    deck.slideShapes = {""};
    _core.load(write("white.pptx", pptxEntries(deck)));
    EXPECT_TRUE(near(_core.renderSlide(0, QSize(40, 30)).pixelColor(20, 15), Qt::white));
}

TEST_F(EditorCoreCache, WorkerThreadsRenderTheSameImages) {
    _core.load(deck(4));
    std::vector<QImage> expected;
    for (int i = 0; i < 4; ++i)
        expected.push_back(_core.renderSlide(i, QSize(64, 48)));
    _core.setCacheEnabled(false);
    std::vector<QImage> results(8);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&, t] { results[t] = _core.renderSlide(t % 4, QSize(64, 48)); });
    for (auto& thread : threads)
        thread.join();
    for (int t = 0; t < 8; ++t)
        EXPECT_EQ(results[t], expected[t % 4]) << t;
}

TEST(EditorCoreRenderCache, EvictsLeastRecentlyUsedWithinItsBudget) {
    QImage image(100, 100, QImage::Format_ARGB32); // 40000 bytes
    image.fill(Qt::red);
    RenderCache cache(100000);
    cache.insert(0, QSize(100, 100), image);
    cache.insert(1, QSize(100, 100), image);
    EXPECT_FALSE(cache.find(0, QSize(100, 100)).isNull()); // 0 is now the most recent
    cache.insert(2, QSize(100, 100), image);
    EXPECT_TRUE(cache.find(1, QSize(100, 100)).isNull());
    EXPECT_FALSE(cache.find(0, QSize(100, 100)).isNull());
    EXPECT_FALSE(cache.find(2, QSize(100, 100)).isNull());
    EXPECT_LE(cache.bytes(), 100000);
    cache.insert(3, QSize(200, 200), QImage(200, 200, QImage::Format_ARGB32)); // over budget alone
    EXPECT_TRUE(cache.find(3, QSize(200, 200)).isNull());
}

} // namespace
} // namespace KX::Tovrin::Test
