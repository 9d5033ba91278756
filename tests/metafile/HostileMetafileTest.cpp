#include "PlayerTestSupport.h"

#include <limits>

namespace KX::Tovrin::Metafiles::Test {
namespace {

QByteArray sampleEmf() {
    EmfWriter emf(QRect(0, 0, 100, 100));
    emf.record(39, {1, 0, 0xff, 0});
    emf.record(37, {1});
    emf.record(86, Fields().ints({0, 0, 0, 0}).u32(3).shorts({0, 0, 100, 0, 50, 90}));
    emf.record(33, {});
    emf.record(30, {10, 10, 60, 60});
    emf.record(43, {0, 0, 100, 100});
    emf.record(34, {-1});
    return emf.finish();
}

QByteArray sampleWmf() {
    WmfWriter wmf(QRect(0, 0, 100, 100), 100);
    wmf.record(0x020C, {100, 100});
    wmf.record(0x02FC, Fields().u16(0).u32(0xff).u16(0));
    wmf.record(0x012D, {0});
    wmf.record(0x0538, {2, 3, 3, 0, 0, 50, 0, 0, 50, 60, 60, 90, 60, 60, 90});
    return wmf.finish();
}

QByteArray sampleSvm() {
    SvmWriter svm(QSize(100, 100));
    svm.record(133, 1, Fields().u32(0xff).u8(1));
    svm.record(111, 2, Fields().u16(1).u16(3).ints({0, 0, 100, 0, 50, 90}).u16(0));
    svm.record(
        138, 1,
        Fields().u16(1).u32(40).u16(4).bytes("Sans").u16(0).ints({0, 20}).u16(1).bytes(QByteArray(24, '\0')));
    svm.record(
        113, 2,
        Fields().ints({10, 50}).u16(2).bytes("Hi").u16(0).u16(2).u32(2).ints({8, 16}).u16(2).u16('H').u16(
            'i'));
    return svm.finish();
}

TEST(HostileMetafile, ForgedCountsAndSizesDrawNothingWrongAndReadNothingOutside) {
    EmfWriter emf(QRect(0, 0, 100, 100));
    emf.record(86, Fields().ints({0, 0, 0, 0}).u32(0xffffffffu).shorts({0, 0})); // count past the record
    emf.record(91, Fields().ints({0, 0, 0, 0}).u32(0x40000000u).u32(4).u32(4).shorts({0, 0, 9, 9}));
    Fields huge; // a bitmap header claiming 100000 x 100000 pixels
    huge.ints({0, 0, 100, 100}).ints({0, 0, 0, 0, 100000, 100000}).u32(80).u32(40).u32(120).u32(16);
    huge.u32(0).u32(0xCC0020).i32(100).i32(100);
    huge.u32(40).i32(100000).i32(100000).u16(1).u16(24).u32(0).u32(0).i32(0).i32(0).u32(0).u32(0);
    huge.bytes(QByteArray(16, '\xff'));
    emf.record(81, huge);
    emf.record(84, Fields().ints({0, 0, 0, 0, 1}).f32(1).f32(1).ints({0, 0}).u32(0x7fffffff).u32(76));
    Fields font; // weight and height at their extremes
    font.u32(3).ints({std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(), 0, 0,
                      std::numeric_limits<qint32>::max()});
    font.bytes(QByteArray(72, '\0'));
    emf.record(82, font);
    emf.record(37, {3});
    emf.record(84, Fields()
                       .ints({0, 0, 0, 0, 1})
                       .f32(1)
                       .f32(1)
                       .ints({10, 10})
                       .u32(1)
                       .u32(76)
                       .u32(0)
                       .ints({0, 0, 0, 0})
                       .u32(0)
                       .utf16(QStringLiteral("W")));
    emf.record(34, {1000000}); // restore a level that was never saved
    for (int i = 0; i < 3000; ++i)
        emf.record(33, {});
    const QImage image = play(emf.finish());
    EXPECT_TRUE(near(image.pixelColor(100, 100), Qt::white));

    WmfWriter wmf(QRect(0, 0, 100, 100), 100);
    wmf.record(0x0324, {30000, 0, 0});      // polygon of 30000 points with one given
    wmf.record(0x0538, {30000, 5, 5});      // polygon counts past the record
    wmf.record(0x0A32, {10, 10, 30000, 6}); // text longer than its record
    for (int i = 0; i < 70000; ++i)         // more objects than slots
        wmf.record(0x02FC, Fields().u16(0).u32(0).u16(0));
    EXPECT_TRUE(near(play(wmf.finish()).pixelColor(100, 100), Qt::white));

    SvmWriter svm(QSize(100, 100));
    svm.record(111, 2, Fields().u16(0xffff).u16(0xffff)); // polygons past the record
    svm.record(113, 2, Fields().ints({0, 0}).u16(3).bytes("abc").u16(0).u16(0xffff).u32(0x7fffffff));
    svm.record(138, 1, Fields().u16(1).u32(0xffffffffu).u16(0xffff)); // a name longer than the file
    svm.record(117, 1, Fields().u16(0x4D42).u32(0xffffffffu));        // a bitmap longer than the file
    for (int i = 0; i < 3000; ++i)
        svm.record(139, 1, Fields().u16(0xffff));
    for (int i = 0; i < 5000; ++i)
        svm.record(140, 1, {});
    svm.record(137, 1, Fields().u16(1).u32(27).u16(13).ints({0, 0, 1, 0, 1, 0}).u8(0)); // zero denominators
    svm.record(
        103, 1,
        Fields().ints({std::numeric_limits<qint32>::min(), 0, std::numeric_limits<qint32>::max(), 100}));
    QByteArray forged = svm.finish();
    EXPECT_TRUE(near(play(forged).pixelColor(100, 100), Qt::white));
    forged.replace(forged.indexOf("VCLMTF") + 12 + 31 + 8, 4,
                   QByteArray("\xff\xff\xff\xff", 4)); // action count
    play(forged);
}

TEST(HostileMetafile, GlyphsWhoseAxesNearlyMeetAreNotDrawn) {
    // Found by the fuzzer: a forged frame and font turn leave the glyphs' axes a fraction of a
    // degree apart, and Qt's glyph cache read through a null pointer drawing them.
    const QByteArray forged = QByteArray::fromHex(
        "010000006c00000000000000ffffff4d696e674d656469756d00000000000000111b00005028000020454d4600000100"
        "342e000032010000070000001be174742d61000000000000000f0000700800005a010000c20000000000000000000000"
        "0000000090470508d0f50000520000007000000001000000dfffffff0000000c00001400000000000c0000000100000c"
        "00000001000000000c00001400001400000000250000000c00000001000000000c0000140000000c0000000100000025"
        "0000000c00001400000000003900000020af13026476007073610000250000000c00000001000000540000004c000000"
        "00000000000000666f6e742d666f72000000000000250000000c000000010000250000000c00000001000000000c0000"
        "1400000c00000100000c00000000000c00001400");
    const std::optional<Metafile> metafile = Metafile::read(forged);
    ASSERT_TRUE(metafile);
    ensureApplication();
    EXPECT_EQ(metafile->toImage(QSize(48, 48)).size(), QSize(48, 48));
}

TEST(HostileMetafile, TruncatedAndCorruptedFilesPlayWithoutHarm) {
    for (const QByteArray& valid : {sampleEmf(), sampleWmf(), sampleSvm()}) {
        ASSERT_TRUE(Metafile::read(valid));
        for (int length = 0; length < valid.size(); length += 3)
            play(valid.left(length), QSize(40, 40));
        quint32 seed = 12345;
        for (int round = 0; round < 200; ++round) {
            QByteArray broken = valid;
            for (int k = 0; k < 4; ++k) {
                seed = seed * 1103515245u + 12345u;
                broken[int((seed >> 8) % quint32(broken.size()))] = char(seed >> 24);
            }
            play(broken, QSize(40, 40));
        }
    }
    EXPECT_FALSE(Metafile::read(QByteArray("\x89PNG\r\n\x1a\n", 8)));
    EXPECT_FALSE(Metafile::read(QByteArray()));
}

} // namespace
} // namespace KX::Tovrin::Metafiles::Test
