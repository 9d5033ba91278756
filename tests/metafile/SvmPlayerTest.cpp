#include "PlayerTestSupport.h"

#include <QBuffer>

namespace KX::Tovrin::Metafiles::Test {
namespace {

constexpr quint16 Polyline = 109, PolyPolygon = 111, Rect = 103, TextArray = 113, LineColor = 132,
                  FillColor = 133, TextColor = 134, TextAlign = 136, MapMode = 137, Font = 138, Push = 139,
                  Pop = 140;

Fields color(quint32 rgb, bool set = true) {
    return Fields().u32(rgb).u8(set ? 1 : 0);
}

Fields square(QRect r) {
    Fields f;
    f.u16(1).u16(5);
    for (const QPoint& p : {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft(), r.topLeft()})
        f.i32(p.x()).i32(p.y());
    return f.u16(0); // no curved replacements
}

// A font record: the face's name in bytes, the em height, text after it in UTF-16.
Fields font(const QByteArray& face, qint32 height) {
    Fields body;
    body.u16(quint16(face.size())).bytes(face).u16(0).i32(0).i32(height).u16(0xFFFF);
    body.u16(0).u16(0).u16(5).u16(0).u16(0).u16(0).u16(0).u16(0).u16(0).u32(0);
    return Fields().u16(1).u32(quint32(body.size())).bytes(body.data());
}

// The image as a BMP file, as the bitmap records carry it.
QByteArray bmpFile(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");
    return bytes;
}

QImage halves(QColor left, QColor right) {
    QImage image(2, 1, QImage::Format_RGB32);
    image.setPixelColor(0, 0, left);
    image.setPixelColor(1, 0, right);
    return image;
}

TEST(SvmPlayer, BitmapsFillTheirRectangleMasksCutThemAndClipsHold) {
    SvmWriter svm(QSize(2000, 1000));
    Fields masked; // left red, right blue; the mask keeps the left (black) and drops the right (white)
    masked.bytes(bmpFile(halves(Qt::red, Qt::blue))).u32(0x25091962u).u32(0xACB20201u).u8(2);
    masked.bytes(bmpFile(halves(Qt::black, Qt::white))).ints({0, 0, 2000, 500});
    svm.record(120, 1, masked);
    svm.record(129, 1, Fields().ints({0, 500, 999, 999})); // only the lower left quarter from here
    svm.record(117, 1, Fields().bytes(bmpFile(halves(Qt::green, Qt::green))).ints({0, 0, 2000, 1000}));
    const QImage image = play(svm.finish(), QSize(200, 100));
    EXPECT_TRUE(near(image.pixelColor(50, 25), Qt::red));
    EXPECT_TRUE(near(image.pixelColor(150, 25), Qt::white)) << "the mask cut the blue half away";
    EXPECT_TRUE(near(image.pixelColor(50, 75), Qt::green));
    EXPECT_TRUE(near(image.pixelColor(150, 75), Qt::white)) << "the clip held";
}

TEST(SvmPlayer, ShapesFollowColoursMapModesAndWhatAPushNamed) {
    SvmWriter svm(QSize(2000, 1000)); // 10 units a pixel at 200 x 100
    svm.record(LineColor, 1, color(0, false));
    svm.record(FillColor, 1, color(0xff0000));
    svm.record(PolyPolygon, 2, square(QRect(0, 0, 1000, 1000)));
    svm.record(FillColor, 1, color(0x0000ff));
    svm.record(Push, 1, Fields().u16(0x2)); // the fill colour only
    svm.record(FillColor, 1, color(0x00ff00));
    svm.record(MapMode, 1, svmMapMode(0, QPoint(5000, 5000)));
    svm.record(Pop, 1, {});
    // The map mode was not pushed: a relative one moves on from the absolute one set above.
    svm.record(MapMode, 1, svmMapMode(13, QPoint(-4000, -5000)));
    svm.record(Rect, 1, Fields().ints({0, 0, 999, 999}));
    svm.record(MapMode, 1, svmMapMode(0, QPoint()));
    svm.record(LineColor, 1, color(0x000000));
    Fields line; // two points, then a line style of 100 units wide
    line.u16(2).ints({0, 500, 2000, 500}).u16(1).u32(6).u16(1).i32(100);
    svm.record(Polyline, 2, line);
    const QImage image = play(svm.finish(), QSize(200, 100));
    EXPECT_TRUE(near(image.pixelColor(50, 20), Qt::red));
    EXPECT_TRUE(near(image.pixelColor(150, 20), Qt::blue)) << "the pop brought the fill back";
    EXPECT_TRUE(near(image.pixelColor(150, 80), Qt::blue));
    EXPECT_TRUE(near(image.pixelColor(100, 47), Qt::black)) << "the line keeps its own width";
    EXPECT_TRUE(near(image.pixelColor(100, 53), Qt::black));
    EXPECT_TRUE(near(image.pixelColor(100, 40), Qt::blue));
}

TEST(SvmPlayer, TextArraysPutEachCharacterWhereTheFileSays) {
    SvmWriter svm(QSize(2000, 1000));
    svm.record(Font, 1, font("DejaVu Sans", 400));
    svm.record(TextColor, 1, Fields().u32(0));
    svm.record(TextAlign, 1, Fields().u16(1)); // the point is on the baseline
    Fields text;
    // In a Unicode font the string is UTF-16 after a 32-bit count; the second copy is what shows.
    text.ints({100, 600}).u32(2).u16('x').u16('x').u16(0).u16(2).u32(2).ints({1500, 1600});
    text.u16(2).u16('I').u16('I');
    svm.record(TextArray, 2, text);
    const QImage image = play(svm.finish(), QSize(200, 100));
    EXPECT_GT(inkIn(image, QRect(8, 32, 12, 27)), 20);
    EXPECT_EQ(inkIn(image, QRect(30, 0, 120, 100)), 0) << "nothing between the two characters";
    EXPECT_GT(inkIn(image, QRect(158, 32, 12, 27)), 20);
    EXPECT_EQ(inkIn(image, QRect(0, 62, 200, 38)), 0) << "nothing below the baseline";
}

} // namespace
} // namespace KX::Tovrin::Metafiles::Test
