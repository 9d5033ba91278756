// The framework's filmstrip geometry and the slide view's pointer, without a presentation behind
// them: where items go, and the laser dot that replaces the cursor.

#include "TestApplication.h"
#include "platform/brovik/slides/FilmstripLayout.h"
#include "platform/brovik/slides/SlideControl.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

using namespace KX::Brovik;

namespace {

TEST(BrovikFilmstrip, LayoutStacksItemsOfTheSlidesProportions) {
    FilmstripLayout layout(QMargins(20, 2, 28, 14));
    layout.update(235, QSizeF(960, 540), 3);
    // 187 pixels of slide width at 16:9 is 105 high, plus the top and bottom margins.
    EXPECT_EQ(layout.getItemHeight(), 105 + 16);
    EXPECT_EQ(layout.itemRect(0), QRect(0, 0, 235, 121));
    EXPECT_EQ(layout.itemRect(2), QRect(0, 242, 235, 121));
    EXPECT_TRUE(layout.itemRect(3).isNull());
    EXPECT_TRUE(layout.itemRect(-1).isNull());
    EXPECT_EQ(layout.getContentHeight(), 363);
    EXPECT_EQ(layout.indexAt(0), 0);
    EXPECT_EQ(layout.indexAt(120), 0);
    EXPECT_EQ(layout.indexAt(121), 1);
    EXPECT_EQ(layout.indexAt(362), 2);
    EXPECT_EQ(layout.indexAt(363), -1);
    EXPECT_EQ(layout.indexAt(-1), -1);

    // A column narrower than its margins still has items one pixel high at least.
    layout.update(10, QSizeF(960, 540), 1);
    EXPECT_GE(layout.getItemHeight(), 17);
    layout.update(235, QSizeF(), 0);
    EXPECT_EQ(layout.indexAt(0), -1);
}

TEST(BrovikSlideControl, PointerModeHidesTheCursorAndDrawsADot) {
    KX::Testing::ensureApplication();
    SlideControl control(PresentationEditorCoreHolder(), false, nullptr);
    control.setStyleSheet(QStringLiteral("background: white;"));
    control.resize(200, 150);
    control.show();
    control.setPointerEffectEnabled(true);
    EXPECT_TRUE(control.hasMouseTracking());
    EXPECT_EQ(control.cursor().shape(), Qt::BlankCursor);

    QMouseEvent move(QEvent::MouseMove, QPointF(50, 60), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&control, &move);
    QImage image = control.grab().toImage();
    const QColor dot = image.pixelColor(50, 60);
    EXPECT_GT(dot.red(), 200) << dot.name().toStdString();
    EXPECT_LT(dot.green(), 80) << dot.name().toStdString();
    EXPECT_EQ(image.pixelColor(150, 120), QColor(Qt::white));

    control.setPointerEffectEnabled(false);
    EXPECT_NE(control.cursor().shape(), Qt::BlankCursor);
    image = control.grab().toImage();
    EXPECT_EQ(image.pixelColor(50, 60), QColor(Qt::white));
}

} // namespace
