// The start window: fixed size, no context help, F1 and the browse button/shortcut reach the
// framework through its signals, and its geometry is stored under the launcher group.

#include "viewer/WelcomeScreen.h"

#include "ViewerTestApplication.h"
#include "platform/brovik/settings/ApplicationSettings.h"
#include "platform/brovik/windows/RestoringGeometryHandler.h"
#include "platform/brovik/windows/WindowSettingsGroups.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace KX;

namespace {

TEST(ViewerWelcomeScreen, FixedSizeWithoutContextHelp) {
    Testing::testApplication();
    WelcomeScreen screen;
    screen.show();
    EXPECT_EQ(screen.size(), QSize(500, 397));
    EXPECT_EQ(screen.minimumSize(), screen.maximumSize());
    EXPECT_FALSE(screen.windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
    auto* button = screen.findChild<QPushButton*>(QStringLiteral("browseButton"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("OPEN..."));
    EXPECT_EQ(button->iconSize(), QSize(96, 96));
    EXPECT_FALSE(button->icon().isNull());
    auto* banner = screen.findChild<QLabel*>(QStringLiteral("welcomeText"));
    ASSERT_NE(banner, nullptr);
    ASSERT_FALSE(banner->pixmap(Qt::ReturnByValue).isNull());
    EXPECT_EQ(banner->pixmap(Qt::ReturnByValue).size() / banner->pixmap(Qt::ReturnByValue).devicePixelRatio(),
              QSize(500, 172));
}

TEST(ViewerWelcomeScreen, KeysAndButtonAskTheFramework) {
    Testing::testApplication();
    WelcomeScreen screen;
    screen.show();
    QApplication::setActiveWindow(&screen);
    QSignalSpy help(&screen, &WelcomeScreen::helpTriggered);
    QSignalSpy browse(&screen, &WelcomeScreen::browseButtonClicked);

    QTest::keyClick(&screen, Qt::Key_F1);
    ASSERT_EQ(help.count(), 1);
    EXPECT_EQ(help.first().first().toString(), QStringLiteral("Help Presentation"));

    // A button's shortcut clicks it the way a mouse would, after its short pressed-look delay.
    QTest::keyClick(&screen, Qt::Key_O, Qt::ControlModifier);
    ASSERT_TRUE(browse.count() == 1 || browse.wait(5000));
    EXPECT_EQ(browse.count(), 1);
    QTest::mouseClick(screen.findChild<QPushButton*>(QStringLiteral("browseButton")), Qt::LeftButton);
    EXPECT_EQ(browse.count(), 2);
    EXPECT_TRUE(screen.isVisible());
}

TEST(ViewerWelcomeScreen, GeometryIsKeptUnderTheLauncherGroup) {
    Testing::testApplication();
    auto settings = Brovik::ApplicationSettings::open();
    settings->remove(QString::fromLatin1(Brovik::LauncherWindowSettingsGroupName));
    settings->sync();

    WelcomeScreen screen;
    auto handler = std::make_shared<Brovik::RestoringGeometryHandler>(
        &screen, QString::fromLatin1(Brovik::LauncherWindowSettingsGroupName));
    screen.setRestoringGeometryHandler(handler);
    screen.show();
    screen.move(123, 77);
    EXPECT_TRUE(handler->isStoringTimerActive());
    screen.close();
    EXPECT_FALSE(handler->isStoringTimerActive());
    EXPECT_FALSE(screen.isVisible());
    EXPECT_EQ(screen.result(), QDialog::Rejected); // closing is no decision

    WelcomeScreen again;
    Brovik::RestoringGeometryHandler restore(&again,
                                             QString::fromLatin1(Brovik::LauncherWindowSettingsGroupName));
    ASSERT_TRUE(restore.restoreWindowSettings());
    // The offscreen platform adds its frame margins when placing a restored window.
    EXPECT_NEAR(again.pos().x(), 123, 4);
    EXPECT_NEAR(again.pos().y(), 77, 4);
}

} // namespace
