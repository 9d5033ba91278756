#include "EditorCoreFixture.h"

#include <QDir>

namespace KX::Tovrin::Test {
namespace {

class EditorCoreSamples : public EditorCoreTest {
protected:
    void renderAll(const QString& folder) {
        const QDir dir(QStringLiteral(KX_SAMPLES_DIR "/") + folder);
        if (!dir.exists())
            GTEST_SKIP() << "no sample presentations on this machine";
        const QStringList files = dir.entryList(QDir::Files);
        for (const QString& name : files) {
            SCOPED_TRACE(name.toStdString());
            PresentationViewerEditorCore core;
            ASSERT_NO_THROW(core.load(dir.filePath(name)));
            EXPECT_GT(core.getSlidesCount(), 0);
            // Large decks: the first slides and the last are enough to exercise every part.
            for (int i = 0; i < core.getSlidesCount(); ++i) {
                if (i >= 40 && i != core.getSlidesCount() - 1)
                    continue;
                EXPECT_FALSE(core.renderSlide(i, QSize(240, 180)).isNull()) << "slide " << i + 1;
            }
        }
    }
};

TEST_F(EditorCoreSamples, EveryPowerPointSampleLoadsAndRenders) {
    renderAll(QStringLiteral("pptx"));
}

TEST_F(EditorCoreSamples, EveryOpenDocumentSampleLoadsAndRenders) {
    renderAll(QStringLiteral("odp"));
}

} // namespace
} // namespace KX::Tovrin::Test
