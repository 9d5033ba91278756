// The progress dialog of long document loads: absent from short loads, then counting slides, and
// the Cancel button stopping the load.

#include "TestApplication.h"
#include "platform/brovik/editor/LoadProgressDialog.h"

#include <QProgressDialog>
#include <gtest/gtest.h>

using namespace KX::Brovik;

namespace {

TEST(BrovikLoadProgress, ShortLoadsShowNothing) {
    KX::Testing::ensureApplication();
    LoadProgressDialog progress(QStringLiteral("deck.pptx"), 60'000);
    for (int done = 0; done <= 10; ++done) {
        EXPECT_TRUE(progress.update(done, 10));
    }
    EXPECT_EQ(progress.dialog(), nullptr);
    // A load that has finished does not flash a dialog, however long it took.
    LoadProgressDialog finished(QStringLiteral("deck.pptx"), 0);
    EXPECT_TRUE(finished.update(10, 10));
    EXPECT_EQ(finished.dialog(), nullptr);
}

TEST(BrovikLoadProgress, LongLoadsCountSlidesAndCanBeCancelled) {
    KX::Testing::ensureApplication();
    LoadProgressDialog progress(QStringLiteral("deck.pptx"), 0);
    EXPECT_TRUE(progress.update(3, 3000));
    QProgressDialog* dialog = progress.dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->isModal());
    EXPECT_EQ(dialog->maximum(), 3000);
    EXPECT_EQ(dialog->value(), 3);
    EXPECT_TRUE(dialog->labelText().contains(QStringLiteral("deck.pptx")));
    EXPECT_TRUE(progress.update(3000, 3000));
    EXPECT_EQ(dialog->value(), 3000);

    dialog->cancel();
    EXPECT_FALSE(progress.update(3000, 3000));
}

} // namespace
