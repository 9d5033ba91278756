// Window geometry persistence, the application settings, the fading toolbar and help topics.

#include "TestApplication.h"
#include "platform/brovik/application/HelpWindow.h"
#include "platform/brovik/settings/ApplicationSettings.h"
#include "platform/brovik/toolbar/FunctionToolbar.h"
#include "platform/brovik/windows/RestoringGeometryHandler.h"
#include "platform/brovik/windows/ScreenSaverLocker.h"

#include <QAction>
#include <QToolButton>
#include <QWidget>
#include <gtest/gtest.h>

using namespace KX::Brovik;

namespace {

TEST(BrovikWindows, GeometryIsRestoredPerGroupAndFullScreenIsNotStored) {
    KX::Testing::ensureApplication();
    QWidget first;
    RestoringGeometryHandler firstHandler(&first, QStringLiteral("TestGroupA"));
    first.setGeometry(100, 120, 640, 480);
    first.show();
    firstHandler.saveWindowSettings(true);

    first.showFullScreen();
    firstHandler.saveWindowSettings(true); // a passing state: keeps the normal geometry

    QWidget second;
    RestoringGeometryHandler secondHandler(&second, QStringLiteral("TestGroupA"));
    ASSERT_TRUE(secondHandler.restoreWindowSettings());
    EXPECT_EQ(second.size(), QSize(640, 480));

    QWidget other;
    RestoringGeometryHandler otherHandler(&other, QStringLiteral("TestGroupB"));
    EXPECT_FALSE(otherHandler.restoreWindowSettings());

    otherHandler.restartStoringWindowStatesTimer();
    EXPECT_TRUE(otherHandler.isStoringTimerActive());
    otherHandler.saveWindowSettings(true);
    EXPECT_FALSE(otherHandler.isStoringTimerActive());
}

TEST(BrovikWindows, TipsSwitchPersists) {
    KX::Testing::ensureApplication();
    EXPECT_TRUE(ApplicationSettings::isTipsScreenEnabled());
    ApplicationSettings::setTipsScreenEnabled(false);
    EXPECT_FALSE(ApplicationSettings::isTipsScreenEnabled());
    EXPECT_FALSE(ApplicationSettings::open()->value(QStringLiteral("TipsScreen/enabled")).toBool());
    ApplicationSettings::setTipsScreenEnabled(true);
    EXPECT_TRUE(ApplicationSettings::isTipsScreenEnabled());
    EXPECT_TRUE(ApplicationSettings::getResourcesFilePath().endsWith(QStringLiteral("/Resources")));
}

TEST(BrovikWindows, ToolbarStatesAndButtons) {
    KX::Testing::ensureApplication();
    QWidget window;
    auto* toolbar = new FunctionToolbar(&window);
    QAction first(QStringLiteral("first"));
    QAction second(QStringLiteral("second"));
    QToolButton* button = toolbar->addAction(&first);
    toolbar->addAction(&second);
    EXPECT_EQ(button->defaultAction(), &first);
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    EXPECT_GE(toolbar->width(), 2 * FunctionToolbar::IconSize);

    EXPECT_EQ(toolbar->getVisibilityState(), FadeInOutWidget::State::Pinned);
    toolbar->setVisibilityState(0, false);
    EXPECT_EQ(toolbar->opacity(), 0.0);
    EXPECT_TRUE(toolbar->testAttribute(Qt::WA_TransparentForMouseEvents));
    toolbar->setVisibilityState(1, false);
    EXPECT_EQ(toolbar->getVisibilityState(), FadeInOutWidget::State::Shown);
    EXPECT_EQ(toolbar->opacity(), 1.0);
    EXPECT_FALSE(toolbar->testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST(BrovikWindows, ScreenSaverLockerWithoutDesktopServiceDoesNothing) {
    KX::Testing::ensureApplication();
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    ScreenSaverLocker locker(nullptr);
    EXPECT_FALSE(locker.isInhibiting());
}

TEST(BrovikWindows, HelpTopicsMapToBundledPages) {
    KX::Testing::ensureApplication();
    EXPECT_EQ(HelpWindow::pageForTopic(QStringLiteral("Help Presentation")),
              QStringLiteral(":/brovik/help/HelpPresentation.html"));
}

} // namespace
