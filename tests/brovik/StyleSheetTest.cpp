#include "TestApplication.h"
#include "platform/brovik/style/FontFactory.h"
#include "platform/brovik/style/StyleSheetLoader.h"

#include <gtest/gtest.h>

using namespace KX::Brovik;

namespace {

TEST(BrovikStyleSheet, ColourTableSkipsMalformedLines) {
    const auto table =
        StyleSubstitutions::parse(QStringLiteral("AppColorMain;rgba(190, 68, 78, 1);Color\n"
                                                 "broken line\n"
                                                 ";rgb(1, 2, 3);Color\n"
                                                 "Bg_05; rgba(241, 242, 242, 1) ;Backgrounds\n"));
    EXPECT_EQ(table.size(), 2);
    EXPECT_EQ(table.value(QStringLiteral("AppColorMain")), QStringLiteral("rgba(190, 68, 78, 1)"));
    EXPECT_EQ(table.value(QStringLiteral("Bg_05")), QStringLiteral("rgba(241, 242, 242, 1)"));
    EXPECT_EQ(table.group(QStringLiteral("Bg_05")), QStringLiteral("Backgrounds"));
}

TEST(BrovikStyleSheet, PlaceholdersTakeColoursAndFonts) {
    KX::Testing::ensureApplication();
    const auto colours = StyleSubstitutions::parse(QStringLiteral("Accent;rgba(186, 59, 70, 1);Color\n"));
    const auto fonts = createFontFactory(QString());
    ASSERT_FALSE(fonts->defaultUIFont().isEmpty());
    const QString sheet = QStringLiteral("A { color: @Accent@; font-family: \"@DefaultUISemiBoldFont@\"; }\n"
                                         "B { border: @Unknown@; margin: 2px } /* a@b.c */");
    const QString result = substituteStyleSheet(sheet, colours, fonts.get());
    EXPECT_EQ(result, QStringLiteral("A { color: rgba(186, 59, 70, 1); font-family: \"") +
                          fonts->defaultUISemiBoldFont() +
                          QStringLiteral("\"; }\nB { border: @Unknown@; margin: 2px } /* a@b.c */"));
    EXPECT_EQ(substituteStyleSheet(sheet, colours, nullptr).count(QStringLiteral("@DefaultUISemiBoldFont@")),
              1);
    EXPECT_TRUE(loadStyleSheet(QStringLiteral(":/no/such/sheet"), fonts.get()).isEmpty());
}

} // namespace
