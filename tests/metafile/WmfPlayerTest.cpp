#include "PlayerTestSupport.h"

namespace KX::Tovrin::Metafiles::Test {
namespace {

// Functions of the Windows metafile format.
enum : quint16 {
    SetBkMode = 0x0102,
    SetTextAlign = 0x012E,
    SelectObject = 0x012D,
    DeleteObject = 0x01F0,
    SetTextColor = 0x0209,
    SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C,
    CreatePen = 0x02FA,
    CreateFont = 0x02FB,
    CreateBrush = 0x02FC,
    Polygon = 0x0324,
    Rectangle = 0x041B,
    ExtTextOut = 0x0A32,
    DibStretchBlt = 0x0B41
};
const QColor Red(255, 0, 0), Blue(0, 0, 255), Green(0, 160, 0);

Fields brush(QColor c) {
    return Fields().u16(0).u32(quint32(c.red() | (c.green() << 8) | (c.blue() << 16))).u16(0);
}

// A 1000 x 1000 unit picture at 1000 units per inch whose window covers it.
WmfWriter picture() {
    WmfWriter wmf(QRect(0, 0, 1000, 1000), 1000);
    wmf.record(SetWindowOrg, {0, 0});
    wmf.record(SetWindowExt, {1000, 1000});
    return wmf;
}

TEST(WmfPlayer, ObjectsTakeTheLowestFreeSlotAndTheWindowMapsOntoTheFrame) {
    WmfWriter wmf = picture();
    wmf.record(CreateBrush, brush(Red));    // slot 0
    wmf.record(CreatePen, {5, 0, 0, 0, 0}); // slot 1: no outline
    wmf.record(SelectObject, {0});
    wmf.record(SelectObject, {1});
    wmf.record(Rectangle, {500, 500, 0, 0}); // bottom, right, top, left
    wmf.record(DeleteObject, {0});
    wmf.record(CreateBrush, brush(Blue)); // slot 0 again
    wmf.record(SelectObject, {0});
    wmf.record(SetWindowOrg, {-500, -500});         // y, x: the window moves up and left
    wmf.record(Polygon, {3, 0, 0, 400, 0, 0, 400}); // the triangle lands at 500..900
    const QByteArray bytes = wmf.finish();
    const QImage image = play(bytes);
    EXPECT_TRUE(near(image.pixelColor(50, 50), Red));
    EXPECT_TRUE(near(image.pixelColor(110, 110), Blue));
    EXPECT_TRUE(near(image.pixelColor(190, 190), Qt::white));
    EXPECT_TRUE(near(image.pixelColor(150, 50), Qt::white));
    const QSizeF natural = Metafile::read(bytes)->naturalSize();
    EXPECT_NEAR(natural.width(), 96, 1);
}

TEST(WmfPlayer, PackedBitmapsAndTextAreDrawn) {
    QImage dib(2, 1, QImage::Format_RGB32);
    dib.setPixelColor(0, 0, Green);
    dib.setPixelColor(1, 0, Red);
    WmfWriter wmf = picture();
    Fields blit;
    blit.u32(0xCC0020).shorts({1, 2, 0, 0, 500, 1000, 0, 0}); // source h, w, y, x; dest h, w, y, x
    blit.bytes(dibHeader(dib)).bytes(dibRows(dib));
    wmf.record(DibStretchBlt, blit);
    Fields font;
    font.shorts({-200, 0, 0, 0, 400}).u8(0).u8(0).u8(0).u8(0).u8(0).u8(0).u8(0).u8(0);
    font.bytes(QByteArray("DejaVu Sans")).u8(0).pad(2);
    wmf.record(CreateFont, font);
    wmf.record(SelectObject, {0});
    wmf.record(SetBkMode, {1});
    wmf.record(SetTextColor, Fields().u32(0));
    wmf.record(SetTextAlign, {0});
    wmf.record(ExtTextOut, Fields().shorts({600, 100, 2, 0}).bytes("HH"));
    const QImage image = play(wmf.finish());
    EXPECT_TRUE(near(image.pixelColor(50, 50), Green));
    EXPECT_TRUE(near(image.pixelColor(150, 50), Red));
    EXPECT_TRUE(near(image.pixelColor(100, 110), Qt::white));
    EXPECT_GT(inkIn(image, QRect(20, 120, 60, 40)), 100); // 40 px text from (20, 120)
    EXPECT_EQ(inkIn(image, QRect(20, 165, 180, 30)), 0);
}

} // namespace
} // namespace KX::Tovrin::Metafiles::Test
