#include "EditorCoreFixture.h"
#include "platform/brovik/editorcore/model/DecodedPictureCache.h"
#include "platform/brovik/editorcore/model/PictureData.h"

#include <vector>

namespace KX::Tovrin::Test {
namespace {

class EditorCoreMemory : public EditorCoreTest {
protected:
    static QImage solid(QColor colour, QSize size = {16, 16}) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        return image;
    }
};

TEST_F(EditorCoreMemory, PictureCacheHoldsAtMostItsCountAndRedecodesWhatItDropped) {
    DecodedPictureCache cache(1 << 30, 3);
    std::vector<std::unique_ptr<PictureData>> pictures;
    for (int i = 0; i < 10; ++i) {
        pictures.push_back(std::make_unique<PictureData>(pngBytes(solid(QColor(i * 20, 0, 0))),
                                                         QStringLiteral("p%1").arg(i), &cache));
        EXPECT_EQ(pictures.back()->image().pixelColor(3, 3), QColor(i * 20, 0, 0));
        EXPECT_LE(cache.count(), 3);
    }
    EXPECT_EQ(cache.count(), 3);
    // The first was dropped long ago and comes back from its bytes.
    EXPECT_EQ(pictures.front()->image().pixelColor(3, 3), QColor(0, 0, 0));
    EXPECT_EQ(cache.count(), 3);
    pictures.clear();
    EXPECT_EQ(cache.count(), 0);
    EXPECT_EQ(cache.bytes(), 0);
}

TEST_F(EditorCoreMemory, PictureCacheKeepsWithinItsBytesAndSkipsWhatCannotFit) {
    const qint64 one = solid(Qt::red, {32, 32}).sizeInBytes();
    DecodedPictureCache cache(one * 5 / 2, 100);
    std::vector<std::unique_ptr<PictureData>> pictures;
    for (int i = 0; i < 6; ++i) {
        pictures.push_back(
            std::make_unique<PictureData>(pngBytes(solid(Qt::red, {32, 32})), QStringLiteral("p"), &cache));
        pictures.back()->image();
        EXPECT_LE(cache.bytes(), one * 5 / 2);
    }
    EXPECT_EQ(cache.count(), 2);
    // A picture over the whole budget is drawn but not kept.
    const PictureData big(pngBytes(solid(Qt::blue, {64, 64})), QStringLiteral("big"), &cache);
    EXPECT_EQ(big.image().pixelColor(1, 1), QColor(Qt::blue));
    EXPECT_EQ(cache.count(), 2);
    // Unreadable bytes give a null image every time, without being kept.
    const PictureData broken(QByteArray("not a picture"), QStringLiteral("bad"), &cache);
    EXPECT_TRUE(broken.image().isNull());
    EXPECT_TRUE(broken.image().isNull());
}

TEST_F(EditorCoreMemory, ShowingEverySlideOfADeckOfPhotographsKeepsFewDecoded) {
    // More slides, each with a picture of its own, than the shared cache keeps.
    const int slides = DecodedPictureCache::DefaultMaxPictures + 40;
    PptxRecipe deck;
    deck.slideRelationships =
        "<Relationship Id=\"rIdP\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" "
        "Target=\"../media/image.png\"/>";
    for (int i = 0; i < slides; ++i)
        deck.slideShapes.push_back(
            "<p:pic><p:nvPicPr><p:cNvPr id=\"3\" name=\"pic\"/><p:cNvPicPr/><p:nvPr/></p:nvPicPr><p:blipFill>"
            "<a:blip "
            "r:embed=\"rIdP\"/><a:stretch><a:fillRect/></a:stretch></p:blipFill><p:spPr><a:xfrm><a:off "
            "x=\"0\" y=\"0\"/><a:ext cx=\"9144000\" cy=\"6858000\"/></a:xfrm><a:prstGeom "
            "prst=\"rect\"/></p:spPr>"
            "</p:pic>");
    ZipEntries entries = pptxEntries(deck);
    // Every slide points at its own copy of the picture.
    for (int i = 1; i <= slides; ++i) {
        const std::string n = std::to_string(i);
        entries["ppt/media/image" + n + ".png"] = pngBytes(solid(QColor(0, i % 256, 0)));
        QByteArray& rels = entries["ppt/slides/_rels/slide" + n + ".xml.rels"];
        rels.replace("../media/image.png", QByteArray::fromStdString("../media/image" + n + ".png"));
    }
    _core.load(write("photos.pptx", entries));
    ASSERT_EQ(_core.getSlidesCount(), slides);
    _core.setCacheEnabled(false); // every render decodes what it needs
    for (int i = 0; i < slides; ++i) {
        const QImage image = _core.renderSlide(i, QSize(40, 30));
        ASSERT_TRUE(near(image.pixelColor(20, 15), QColor(0, (i + 1) % 256, 0))) << i;
        ASSERT_LE(DecodedPictureCache::shared().count(), DecodedPictureCache::DefaultMaxPictures);
    }
}

TEST_F(EditorCoreMemory, LoadReportsEverySlideAndCanBeCancelled) {
    PptxRecipe deck;
    deck.slideShapes = {"", "", "", "", ""};
    const QString five = write("five.pptx", pptxEntries(deck));
    std::vector<std::pair<int, int>> calls;
    _core.load(five, [&](int done, int total) {
        calls.emplace_back(done, total);
        return true;
    });
    ASSERT_EQ(calls.size(), 6u);
    for (int i = 0; i <= 5; ++i)
        EXPECT_EQ(calls[std::size_t(i)], std::make_pair(i, 5));

    OdpRecipe odp;
    odp.pages = {"<draw:page draw:master-page-name=\"Default\"/>",
                 "<draw:page draw:master-page-name=\"Default\"/>",
                 "<draw:page draw:master-page-name=\"Default\"/>"};
    const QString three = write("three.odp", odpEntries(odp));
    int seen = 0;
    EXPECT_THROW(_core.load(three, [&](int done, int) { return ++seen, done < 2; }), DocumentLoadCancelled);
    EXPECT_EQ(seen, 3);
    // The document loaded before stays.
    EXPECT_EQ(_core.getSlidesCount(), 5);
    EXPECT_EQ(_core.filePath(), five);
}

} // namespace
} // namespace KX::Tovrin::Test
