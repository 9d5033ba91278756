#include "platform/brovik/editorcore/render/FontMapper.h"

#include "EditorCoreFixture.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <algorithm>

namespace KX::Tovrin::Test {
namespace {

class EditorCoreFonts : public EditorCoreTest {};

TEST_F(EditorCoreFonts, MissingFamiliesMapToTheirKind) {
    EXPECT_EQ(mapFontFamily(QStringLiteral("DejaVu Sans")), QStringLiteral("DejaVu Sans"));
    EXPECT_TRUE(mapFontFamily(QStringLiteral("Courier New")).contains(QLatin1String("Mono")));
    EXPECT_FALSE(mapFontFamily(QStringLiteral("Times New Roman")).contains(QLatin1String("Sans")));
    // Names that merely contain a keyword elsewhere keep their kind.
    EXPECT_FALSE(mapFontFamily(QStringLiteral("Lucida Sans Unicode")).contains(QLatin1String("Mono")));
    EXPECT_FALSE(mapFontFamily(QStringLiteral("Gill Sans MT")).contains(QLatin1String("Serif")));
    EXPECT_FALSE(mapFontFamily(QStringLiteral("Franklin Gothic Book")).contains(QLatin1String("Serif")));
    EXPECT_FALSE(mapFontFamily(QStringLiteral("No Such Family 42")).isEmpty());
}

TEST_F(EditorCoreFonts, WideHumanistFacesGetAWideStandIn) {
    // Verdana and Lucida Sans run a sixth wider than Arial; an Arial-like stand-in would pull
    // every line of theirs short and wrap paragraphs where the author's did not.
    auto width = [](const QString& family) {
        QFont font(mapFontFamily(family));
        font.setPixelSize(100);
        return QFontMetricsF(font).horizontalAdvance(QStringLiteral("The quick brown fox jumps"));
    };
    if (mapFontFamily(QStringLiteral("Verdana")) == mapFontFamily(QStringLiteral("Arial")))
        GTEST_SKIP() << "no wider sans installed here";
    EXPECT_GT(width(QStringLiteral("Verdana")), width(QStringLiteral("Arial")) * 1.05);
    EXPECT_GT(width(QStringLiteral("Lucida Sans Unicode")), width(QStringLiteral("Arial")) * 1.05);
    EXPECT_FALSE(keepsAuthorMetrics(QStringLiteral("Lucida Sans Unicode")));
    EXPECT_TRUE(keepsAuthorMetrics(QStringLiteral("Arial")));
}

TEST_F(EditorCoreFonts, MetricCompatibleFamiliesComeFirst) {
    // fontconfig's aliases know the installed families that keep the proprietary ones' widths.
    const QStringList families = QFontDatabase().families();
    auto installed = [&](const QString& name) { // families may carry their foundry: "Nimbus Sans [urw]"
        return std::any_of(families.begin(), families.end(), [&](const QString& f) {
            return f == name || f.startsWith(name + QStringLiteral(" ["));
        });
    };
    if (!installed(QStringLiteral("P052")))
        GTEST_SKIP() << "P052 is not installed here";
    const QString palatino = mapFontFamily(QStringLiteral("Palatino Linotype"));
    EXPECT_TRUE(palatino.startsWith(QLatin1String("P052"))) << palatino.toStdString();
    // URW's families come as OpenType and Type 1 files; whichever is taken, bold and regular
    // lines stand equally tall (the Type 1 bold's bounding-box ascent made bold lines taller).
    QFont regular(palatino), bold(palatino);
    regular.setPixelSize(100);
    bold.setPixelSize(100);
    bold.setBold(true);
    const QFontMetricsF r(regular), b(bold);
    EXPECT_NEAR(r.ascent() + r.descent() + r.leading(), b.ascent() + b.descent() + b.leading(), 3.0);
    // Nimbus Sans matches Arial's widths but its declared ascent would make lines a fifth taller.
    if (installed(QStringLiteral("Nimbus Sans"))) {
        EXPECT_NE(mapFontFamily(QStringLiteral("Arial")), QStringLiteral("Nimbus Sans"));
    }
    // Monotype's clones of two PostScript faces, which fontconfig has no alias for.
    const QString antiqua = mapFontFamily(QStringLiteral("Book Antiqua"));
    EXPECT_TRUE(antiqua.startsWith(QLatin1String("P052"))) << antiqua.toStdString();
    EXPECT_TRUE(keepsAuthorMetrics(QStringLiteral("Book Antiqua")));
    if (installed(QStringLiteral("URW Gothic"))) {
        const QString gothic = mapFontFamily(QStringLiteral("Century Gothic"));
        EXPECT_TRUE(gothic.startsWith(QLatin1String("URW Gothic"))) << gothic.toStdString();
        EXPECT_TRUE(keepsAuthorMetrics(QStringLiteral("Century Gothic")));
    }
}

} // namespace
} // namespace KX::Tovrin::Test
