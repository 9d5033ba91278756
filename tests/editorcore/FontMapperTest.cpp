#include "platform/brovik/editorcore/render/FontMapper.h"

#include "EditorCoreFixture.h"

namespace KX::Tovrin::Test {
namespace {

class EditorCoreFonts : public EditorCoreTest {};

TEST_F(EditorCoreFonts, MissingFamiliesMapToTheirKind) {
    EXPECT_EQ(mapFontFamily(QStringLiteral("DejaVu Sans")), QStringLiteral("DejaVu Sans"));
    EXPECT_TRUE(mapFontFamily(QStringLiteral("Courier New")).contains(QLatin1String("Mono")));
    EXPECT_TRUE(mapFontFamily(QStringLiteral("Times New Roman")).contains(QLatin1String("Serif")));
    // Names that merely contain a keyword elsewhere keep their kind.
    EXPECT_FALSE(mapFontFamily(QStringLiteral("Lucida Sans Unicode")).contains(QLatin1String("Mono")));
    EXPECT_FALSE(mapFontFamily(QStringLiteral("Gill Sans MT")).contains(QLatin1String("Serif")));
    EXPECT_FALSE(mapFontFamily(QStringLiteral("Franklin Gothic Book")).contains(QLatin1String("Serif")));
    EXPECT_FALSE(mapFontFamily(QStringLiteral("No Such Family 42")).isEmpty());
}

} // namespace
} // namespace KX::Tovrin::Test
