// The compiled-in resources: every image in both densities, the style sheet's rules, the colour
// table, the translation catalogue and the framework's paths.

#include "ViewerTestApplication.h"
#include "platform/brovik/application/HelpWindow.h"
#include "platform/brovik/style/FontFactory.h"
#include "platform/brovik/style/IconPixmap.h"
#include "platform/brovik/style/StyleSheetLoader.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace KX;

namespace {

QString readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(ViewerResources, EveryImageHasBothDensities) {
    Testing::testApplication();
    const std::vector<std::pair<const char*, QSize>> images = {
        {"p_fn_bar_previous_slide_ic", {24, 24}},
        {"p_fn_bar_previous_slide_disable_ic", {24, 24}},
        {"p_fn_bar_next_slide_ic", {24, 24}},
        {"p_fn_bar_next_slide_disable_ic", {24, 24}},
        {"p_fn_bar_fullscreen_in_ic", {24, 24}},
        {"p_fn_bar_fullscreen_out_ic", {24, 24}},
        {"p_fn_bar_pointer-on", {24, 24}},
        {"p_fn_bar_open_folder_ic", {24, 24}},
        {"p_fn_bar_save_as_ic", {24, 24}},
        {"p_fn_bar_save_as_disable_ic", {24, 24}},
        {"p_fn_bar_print_ic", {24, 24}},
        {"p_fn_bar_help_ic", {24, 24}},
        {"p_tips_side_arrow", {67, 13}},
        {"p_tips_bottom_arrow", {13, 67}},
        {"p_welcome_text", {500, 172}},
        {"p_welcome_ordova_logo", {68, 15}},
        {"p_welcome_open_file_icon", {96, 91}},
        {"file_loading_screen_ic", {128, 128}},
        {"dlg_about_app_ic", {80, 80}},
        {"com_dlg_pv_checkbox_on_ic", {16, 16}},
        {"com_dlg_pv_checkbox_on_ic_focused", {16, 16}},
        {"com_dlg_pv_checkbox_off_ic_focused", {16, 16}},
        {"dlg_radio_checked_pv", {16, 16}},
        {"dlg_radio_checked_focused_pv", {18, 18}},
        {"dlg_radio_unchecked_focused_pv", {18, 18}},
        {"dlg_clear_input_button_hovered_pressed", {24, 24}},
        {"dlg_show_input_pass_button_hovered_pressed", {24, 24}},
        {"dlg_hide_input_pass_button_hovered_pressed", {24, 24}},
    };
    for (const auto& [name, size] : images) {
        const QImage plain(QStringLiteral("icons:") + QLatin1String(name));
        const QImage large(QStringLiteral(":/icons/") + QLatin1String(name) + QStringLiteral("@2x"));
        EXPECT_EQ(plain.size(), size) << name;
        EXPECT_EQ(large.size(), size * 2) << name;
        EXPECT_TRUE(plain.hasAlphaChannel()) << name;
    }
    const QPixmap dense = Brovik::getPixmapForIcon(QStringLiteral("icons:p_fn_bar_help_ic"), 2.0);
    EXPECT_EQ(dense.size(), QSize(48, 48));
    EXPECT_EQ(dense.devicePixelRatio(), 2.0);
    EXPECT_EQ(Brovik::getPixmapForIcon(QStringLiteral("icons:p_fn_bar_help_ic"), 1.0).size(), QSize(24, 24));
}

TEST(ViewerResources, ApplicationIconIsAWindowsIconWithEightSizes) {
    Testing::testApplication();
    QImageReader reader(QStringLiteral(":/appIcon"), "ico");
    ASSERT_TRUE(reader.canRead()) << reader.errorString().toStdString();
    EXPECT_EQ(reader.imageCount(), 8);
    QList<int> sizes;
    for (int i = 0; i < reader.imageCount(); ++i) {
        reader.jumpToImage(i);
        sizes << reader.size().width();
    }
    EXPECT_EQ(sizes, (QList<int>{16, 20, 24, 32, 40, 48, 64, 256}));
}

TEST(ViewerResources, StyleSheetRulesAndColourTable) {
    Testing::testApplication();
    const QString styles = readText(QStringLiteral(":/styles/presentationStyles"));
    // Rules are separated by their declaration blocks.
    EXPECT_EQ(styles.count(QLatin1Char('{')), 39);
    EXPECT_TRUE(styles.contains(QStringLiteral("QWidget#SlideControl[fullScreenModeActive='true']")));
    EXPECT_LT(styles.indexOf(QStringLiteral("PresentationViewer Common Styles")),
              styles.indexOf(QStringLiteral("PresentationViewer Specific Styles")));

    const QString table = readText(QStringLiteral(":/styles/styleSubstitutions"));
    EXPECT_EQ(table.count(QLatin1Char('\n')), 41);
    EXPECT_TRUE(table.endsWith(QLatin1Char('\n')));
    const auto colours = Brovik::StyleSubstitutions::load();
    EXPECT_EQ(colours.size(), 41);
    EXPECT_EQ(colours.value(QStringLiteral("AppColorMain")), QStringLiteral("rgba(190, 68, 78, 1)"));
    EXPECT_EQ(colours.group(QStringLiteral("AppColor_30_RGB")), QStringLiteral("Workaround"));
    EXPECT_EQ(colours.value(QStringLiteral("CommonAccent")), QStringLiteral("rgba(23, 144, 221, 1)"));

    // Font placeholders are all substituted when the window's style sheet is loaded.
    const auto fonts = Brovik::createFontFactory(QString());
    const QString loaded = Brovik::loadStyleSheet(QStringLiteral(":/styles/presentationStyles"), fonts.get());
    EXPECT_FALSE(loaded.contains(QStringLiteral("@Default")));
    EXPECT_TRUE(
        loaded.contains(QStringLiteral("font-family: \"") + fonts->defaultUILightFont() + QLatin1Char('"')));
    EXPECT_TRUE(readText(QStringLiteral(":/styles/LoginDialogSpecific"))
                    .contains(QStringLiteral(
                        "KX--Brovik--AcceptRejectGroupButton QPushButton#AcceptRoleButton:enabled")));
    EXPECT_TRUE(readText(QStringLiteral(":/metadata/introductionTranslationKeys"))
                    .contains(QStringLiteral("<keys/>")));
    EXPECT_TRUE(Testing::testApplication().getIntroductionTranslationKeys().isEmpty());
}

TEST(ViewerResources, EnglishCatalogue) {
    Testing::testApplication();
    auto tr = [](const char* context, const char* source) {
        return QCoreApplication::translate(context, source);
    };
    EXPECT_EQ(tr("KX::PresentationViewer", "Full screen"), QStringLiteral("Full Screen Mode"));
    EXPECT_EQ(tr("KX::PresentationViewer", "Out of full screen"), QStringLiteral("Exit Full Screen Mode"));
    EXPECT_EQ(tr("KX::PresentationViewer", "Pointer on"), QStringLiteral("Pointer"));
    EXPECT_EQ(tr("KX::PresentationViewer", "Pointer off"), QStringLiteral("Pointer"));
    EXPECT_EQ(tr("KX::PresentationViewer", "Print"), QStringLiteral("Print..."));
    EXPECT_EQ(tr("KX::PresentationViewer", "Save As"), QStringLiteral("Save As..."));
    EXPECT_EQ(tr("KX::TipsScreen", "Move mouse"), QStringLiteral("Move pointer"));
    EXPECT_EQ(tr("KX::TipsScreen", "Okay, I got it!"), QStringLiteral("Okay, I've got it!"));
    EXPECT_EQ(tr("WelcomeScreen", "OPEN..."), QStringLiteral("OPEN..."));
    const char* pointerTip = "<html><head/><body><p><span style=\"color:#a9a9a9;\">interactive </span><span "
                             "style=\"color:#ffffff;\">Pointer </span><span style=\"color:#a9a9a9;\">using "
                             "the toolbar at the bottom of "
                             "the screen</span></p></body></html>";
    EXPECT_TRUE(tr("KX::TipsScreen", pointerTip)
                    .endsWith(QStringLiteral("<p><span style=\"color:#a9a9a9;\">of the "
                                             "screen</span></p></body></html>")));
}

TEST(ViewerResources, HelpTopicOfTheViewerExists) {
    Testing::testApplication();
    Brovik::HelpWindow help;
    EXPECT_TRUE(help.showTopic(QStringLiteral("Help Presentation")));
    EXPECT_FALSE(help.showTopic(QStringLiteral("No Such Topic")));
}

} // namespace
