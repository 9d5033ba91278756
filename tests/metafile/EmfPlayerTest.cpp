#include "PlayerTestSupport.h"

namespace KX::Tovrin::Metafiles::Test {
namespace {

// Record types of the enhanced metafile format.
enum : quint32 {
    SetWindowExt = 9,
    SetViewportExt = 11,
    SetMapMode = 17,
    SetBkMode = 18,
    SetTextAlign = 22,
    SetTextColor = 24,
    MoveTo = 27,
    ExcludeClipRect = 29,
    IntersectClipRect = 30,
    SaveDc = 33,
    RestoreDc = 34,
    SetWorldTransform = 35,
    SelectObject = 37,
    CreateBrush = 39,
    Rectangle = 43,
    Ellipse = 42,
    BeginPath = 59,
    EndPath = 60,
    CloseFigure = 61,
    FillPath = 62,
    SelectClipPath = 67,
    AbortPath = 68,
    ExtSelectClipRgn = 75,
    BitBlt = 76,
    StretchDiBits = 81,
    ExtCreateFont = 82,
    ExtTextOutW = 84,
    PolylineTo16 = 89,
    Polygon16 = 86
};
constexpr qint32 NullPen = qint32(0x80000008u);
const QColor Red(255, 0, 0), Blue(0, 0, 255), Green(0, 160, 0);

qint32 colorRef(QColor c) {
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

// A 100 x 100 device-unit picture whose brush 1 is solid colour and whose outlines are off.
EmfWriter filledPicture(QColor colour) {
    EmfWriter emf(QRect(0, 0, 100, 100));
    emf.record(CreateBrush, {1, 0, colorRef(colour), 0});
    emf.record(SelectObject, {1});
    emf.record(SelectObject, {NullPen});
    return emf;
}

Fields worldTransform(float m11, float m22, float dx, float dy) {
    return Fields().f32(m11).f32(0).f32(0).f32(m22).f32(dx).f32(dy);
}

TEST(EmfPlayer, TheHeaderFrameFillsTheTarget) {
    EmfWriter emf = filledPicture(Red);
    emf.record(Rectangle, {10, 10, 50, 50});
    const QByteArray bytes = emf.finish();
    const QImage image = play(bytes);
    EXPECT_TRUE(near(image.pixelColor(40, 40), Red));
    EXPECT_TRUE(near(image.pixelColor(16, 16), Qt::white));
    EXPECT_TRUE(near(image.pixelColor(110, 110), Qt::white));
    // 100 device units of 0.254 mm make one inch: 96 pixels.
    const QSizeF natural = Metafile::read(bytes)->naturalSize();
    EXPECT_NEAR(natural.width(), 96, 1);
    EXPECT_NEAR(natural.height(), 96, 1);
}

TEST(EmfPlayer, WindowViewportAndWorldTransformsMapLogicalUnits) {
    {
        EmfWriter emf = filledPicture(Red);
        emf.record(SetMapMode, {8}); // anisotropic: window extents count
        emf.record(SetWindowExt, {1000, 1000});
        emf.record(SetViewportExt, {100, 100});
        emf.record(Rectangle, {500, 500, 1000, 1000});
        const QImage image = play(emf.finish());
        EXPECT_TRUE(near(image.pixelColor(150, 150), Red));
        EXPECT_TRUE(near(image.pixelColor(50, 50), Qt::white));
    }
    {
        // In text mode extents are ignored; the world transform still moves and scales.
        EmfWriter emf = filledPicture(Blue);
        emf.record(SetWindowExt, {1000, 1000});
        emf.record(SetWorldTransform, worldTransform(1, 1, 50, 0));
        emf.record(Rectangle, {0, 0, 40, 40});
        emf.record(SaveDc, {});
        emf.record(SetWorldTransform, worldTransform(2, 2, 0, 0));
        emf.record(RestoreDc, {-1});
        emf.record(Rectangle, {0, 60, 20, 80});
        const QImage image = play(emf.finish());
        EXPECT_TRUE(near(image.pixelColor(140, 40), Blue));
        EXPECT_TRUE(near(image.pixelColor(40, 40), Qt::white));
        EXPECT_TRUE(near(image.pixelColor(120, 140), Blue)); // shifted by the restored transform
        EXPECT_TRUE(near(image.pixelColor(170, 150), Qt::white));
    }
}

TEST(EmfPlayer, ClipRectanglesRegionsAndPathsLimitDrawing) {
    {
        EmfWriter emf = filledPicture(Red);
        emf.record(IntersectClipRect, {0, 0, 50, 100});
        emf.record(ExcludeClipRect, {10, 10, 20, 20});
        emf.record(Rectangle, {0, 0, 100, 100});
        const QImage image = play(emf.finish());
        EXPECT_TRUE(near(image.pixelColor(60, 150), Red));
        EXPECT_TRUE(near(image.pixelColor(150, 150), Qt::white));
        EXPECT_TRUE(near(image.pixelColor(30, 30), Qt::white));
    }
    {
        // A region of one rectangle replaces the clip; an empty copy lifts it again.
        EmfWriter emf = filledPicture(Red);
        Fields region;
        region.u32(16 + 32 + 16).u32(5);               // data size, copy
        region.u32(32).u32(1).u32(1).u32(16);          // header: size, type, count, bytes
        region.ints({50, 0, 100, 50, 50, 0, 100, 50}); // bounds, then the rectangle
        emf.record(ExtSelectClipRgn, region);
        emf.record(Rectangle, {0, 0, 100, 100});
        emf.record(ExtSelectClipRgn, {0, 5});
        emf.record(CreateBrush, {2, 0, colorRef(Blue), 0});
        emf.record(SelectObject, {2});
        emf.record(Rectangle, {0, 80, 20, 100});
        const QImage image = play(emf.finish());
        EXPECT_TRUE(near(image.pixelColor(150, 50), Red));
        EXPECT_TRUE(near(image.pixelColor(50, 50), Qt::white));
        EXPECT_TRUE(near(image.pixelColor(20, 180), Blue));
    }
    {
        EmfWriter emf = filledPicture(Red);
        emf.record(BeginPath, {});
        emf.record(Ellipse, {0, 0, 100, 100});
        emf.record(EndPath, {});
        emf.record(SelectClipPath, {5});
        emf.record(Rectangle, {0, 0, 100, 100});
        const QImage image = play(emf.finish());
        EXPECT_TRUE(near(image.pixelColor(100, 100), Red));
        EXPECT_TRUE(near(image.pixelColor(6, 6), Qt::white));
    }
}

TEST(EmfPlayer, APathIsPaintedOnlyWhenFilled) {
    EmfWriter emf = filledPicture(Green);
    emf.record(BeginPath, {});
    emf.record(MoveTo, {10, 10});
    emf.record(PolylineTo16, Fields().ints({0, 0, 0, 0}).u32(2).shorts({90, 10, 10, 90}));
    emf.record(CloseFigure, {});
    emf.record(EndPath, {});
    emf.record(FillPath, {0, 0, 100, 100});
    emf.record(BeginPath, {});
    emf.record(Rectangle, {60, 60, 100, 100}); // collected, then thrown away
    emf.record(AbortPath, {});
    emf.record(Polygon16, Fields().ints({0, 0, 0, 0}).u32(3).shorts({95, 0, 100, 0, 100, 5}));
    const QImage image = play(emf.finish());
    EXPECT_TRUE(near(image.pixelColor(50, 50), Green));
    EXPECT_TRUE(near(image.pixelColor(150, 150), Qt::white));
    EXPECT_TRUE(near(image.pixelColor(198, 2), Green));
}

Fields font(qint32 height) {
    Fields f;
    f.u32(3).ints({height, 0, 0, 0, 700}).u8(0).u8(0).u8(0).u8(0).u8(0).u8(0).u8(0).u8(0);
    QString face = QStringLiteral("DejaVu Sans");
    for (int i = 0; i < 32; ++i)
        f.u16(i < face.size() ? face[i].unicode() : 0);
    return f;
}

Fields textRecord(QPoint reference, const QString& text) {
    Fields f;
    f.ints({0, 0, 100, 100}).u32(1).f32(1).f32(1);
    f.i32(reference.x()).i32(reference.y()).u32(quint32(text.size())).u32(76).u32(0);
    f.ints({0, 0, -1, -1}).u32(0);
    f.utf16(text);
    return f;
}

TEST(EmfPlayer, TextSitsOnItsReferenceAsAligned) {
    EmfWriter emf(QRect(0, 0, 100, 100));
    emf.record(ExtCreateFont, font(-20));
    emf.record(SelectObject, {3});
    emf.record(SetBkMode, {1});
    emf.record(SetTextColor, {0});
    emf.record(SetTextAlign, {24 | 2}); // baseline, right
    emf.record(ExtTextOutW, textRecord(QPoint(50, 40), QStringLiteral("HH")));
    emf.record(SetTextAlign, {0}); // top, left
    emf.record(ExtTextOutW, textRecord(QPoint(50, 60), QStringLiteral("HH")));
    const QImage image = play(emf.finish());
    // Right-aligned on the baseline at (100, 80) px: ink left of and above that point only.
    EXPECT_GT(inkIn(image, QRect(60, 50, 40, 29)), 100);
    EXPECT_EQ(inkIn(image, QRect(102, 40, 40, 38)), 0);
    EXPECT_EQ(inkIn(image, QRect(40, 84, 160, 34)), 0);
    // Top-left at (100, 120) px: ink right of and below it.
    EXPECT_GT(inkIn(image, QRect(101, 121, 40, 30)), 100);
    EXPECT_EQ(inkIn(image, QRect(40, 121, 58, 40)), 0);
}

TEST(EmfPlayer, BitmapsKeepTheirOrientationAndBlitsWithoutOneUseTheBrush) {
    QImage dib(2, 2, QImage::Format_RGB32);
    dib.setPixelColor(0, 0, Red);
    dib.setPixelColor(1, 0, Green);
    dib.setPixelColor(0, 1, Blue);
    dib.setPixelColor(1, 1, Qt::white);
    const QByteArray info = dibHeader(dib), rows = dibRows(dib);
    EmfWriter emf = filledPicture(Green);
    Fields f;
    f.ints({0, 0, 100, 100}).ints({0, 0, 0, 0, 2, 2}); // bounds, dest point, source rectangle
    const quint32 infoAt = 8 + f.size() + 32;
    f.u32(infoAt).u32(quint32(info.size())).u32(infoAt + quint32(info.size())).u32(quint32(rows.size()));
    f.u32(0).u32(0xCC0020).i32(80).i32(80); // colours, copy, destination size
    f.bytes(info).bytes(rows);
    emf.record(StretchDiBits, f);
    Fields blit;
    blit.ints({0, 0, 100, 100}).ints({80, 80, 20, 20}).u32(0xF00021).ints({0, 0});
    blit.f32(1).f32(0).f32(0).f32(1).f32(0).f32(0).u32(0).u32(0).ints({0, 0, 0, 0});
    emf.record(BitBlt, blit);
    const QImage image = play(emf.finish());
    EXPECT_TRUE(near(image.pixelColor(40, 40), Red));
    EXPECT_TRUE(near(image.pixelColor(120, 40), Green));
    EXPECT_TRUE(near(image.pixelColor(40, 120), Blue));
    EXPECT_TRUE(near(image.pixelColor(120, 120), Qt::white));
    EXPECT_TRUE(near(image.pixelColor(180, 180), Green));
}

} // namespace
} // namespace KX::Tovrin::Metafiles::Test
