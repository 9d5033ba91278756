// Slides drawn through the window: the grabbed window shows the slide's own colours, letterboxed on
// the style sheet's background; printing writes one page per slide.

#include "PptxFixture.h"
#include "ViewerTestApplication.h"
#include "platform/brovik/printing/PresentationPrinter.h"
#include "platform/brovik/slides/SlideControl.h"
#include "viewer/PresentationViewer.h"

#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QPrinter>
#include <gtest/gtest.h>

using namespace KX;
using KX::Testing::testApplication;

namespace {

PresentationViewer* open(const QString& path) {
    auto& application = testApplication();
    if (!application.handlePath(path, {}, false, nullptr)) {
        ADD_FAILURE() << application.openFailures.join(QLatin1Char('\n')).toStdString();
        return nullptr;
    }
    return qobject_cast<PresentationViewer*>(application.editors().constLast());
}

PresentationViewer* openGenerated(const QString& name, const std::vector<QColor>& slides, double w = 720,
                                  double h = 540) {
    const QString path = Testing::scratchFolder() + QLatin1Char('/') + name;
    Testing::writePptx(path, slides, w, h);
    return open(path);
}

bool near(QColor actual, QColor expected) {
    return std::abs(actual.red() - expected.red()) <= 8 && std::abs(actual.green() - expected.green()) <= 8 &&
           std::abs(actual.blue() - expected.blue()) <= 8;
}

std::string describe(QColor colour) {
    return colour.name().toStdString();
}

TEST(ViewerSlideRendering, WindowShowsTheSlideLetterboxedOnTheWindowBackground) {
    // A wide slide in a 4:3 window leaves bands above and below.
    PresentationViewer* viewer = openGenerated(QStringLiteral("wide.pptx"), {QColor(200, 30, 40)}, 960, 540);
    ASSERT_NE(viewer, nullptr);
    viewer->window()->resize(800, 600);
    QCoreApplication::processEvents();
    const QImage shot = viewer->grab().toImage();
    const QColor centre = shot.pixelColor(shot.width() / 2, shot.height() / 2);
    EXPECT_TRUE(near(centre, QColor(200, 30, 40))) << describe(centre);
    const QColor band = shot.pixelColor(shot.width() / 2, 3);
    EXPECT_TRUE(near(band, QColor(254, 254, 254))) << describe(band);

    const QRect slide = viewer->slideControl()->slideRect();
    EXPECT_EQ(slide.width(), viewer->slideControl()->width());
    EXPECT_NEAR(static_cast<double>(slide.width()) / slide.height(), 960.0 / 540.0, 0.02);
    viewer->window()->close();
}

TEST(ViewerSlideRendering, FullScreenBandsAreBlackAndKeysChangeTheSlide) {
    PresentationViewer* viewer =
        openGenerated(QStringLiteral("colours.pptx"), {QColor(0, 160, 0), QColor(20, 40, 220)}, 960, 540);
    ASSERT_NE(viewer, nullptr);
    viewer->fullscreenRequested();
    QCoreApplication::processEvents();
    QImage shot = viewer->slideControl()->grab().toImage();
    EXPECT_TRUE(near(shot.pixelColor(shot.width() / 2, shot.height() / 2), QColor(0, 160, 0)));
    const QRect slide = viewer->slideControl()->slideRect();
    if (slide.top() > 2) {
        const QColor band = shot.pixelColor(shot.width() / 2, 1);
        EXPECT_TRUE(near(band, QColor(0, 0, 0))) << describe(band);
    }

    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
    QCoreApplication::sendEvent(viewer, &space);
    shot = viewer->slideControl()->grab().toImage();
    const QColor second = shot.pixelColor(shot.width() / 2, shot.height() / 2);
    EXPECT_TRUE(near(second, QColor(20, 40, 220))) << describe(second);
    viewer->window()->close();
}

int pdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QByteArray pdf = file.readAll();
    return static_cast<int>(pdf.count("/Type /Page\n") + pdf.count("/Type /Page ") +
                            pdf.count("/Type /Page>") + pdf.count("/Type /Page/"));
}

TEST(ViewerSlideRendering, PrintingToPdfWritesOneSlidePerPage) {
    PresentationViewer* viewer =
        openGenerated(QStringLiteral("print.pptx"), {Qt::red, Qt::green, Qt::blue, Qt::black});
    ASSERT_NE(viewer, nullptr);
    auto documentPrinter = viewer->createDocumentPrinter();
    const QString pdf = Testing::scratchFolder() + QStringLiteral("/print.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    ASSERT_TRUE(documentPrinter->print(printer));
    EXPECT_EQ(pdfPageCount(pdf), 4);

    // A page range prints just those slides.
    const QString part = Testing::scratchFolder() + QStringLiteral("/part.pdf");
    printer.setOutputFileName(part);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 3);
    ASSERT_TRUE(documentPrinter->print(printer));
    EXPECT_EQ(pdfPageCount(part), 2);
    viewer->window()->close();
}

TEST(ViewerSlideRendering, SampleOpensAndRenders) {
    const QDir samples(QStringLiteral(KX_SAMPLES_DIR "/pptx"));
    const QStringList files = samples.entryList({QStringLiteral("*.pptx")}, QDir::Files, QDir::Name);
    if (files.isEmpty()) {
        GTEST_SKIP() << "no sample presentations on this machine";
    }
    PresentationViewer* viewer = open(samples.filePath(files.first()));
    ASSERT_NE(viewer, nullptr);
    ASSERT_GT(viewer->editorCore()->getSlidesCount(), 0);
    viewer->fullscreenRequested();
    const QImage shot = viewer->slideControl()->grab().toImage();
    const QRect slide = viewer->slideControl()->slideRect();
    ASSERT_FALSE(slide.isEmpty());
    // Something other than the black bands was drawn inside the slide area.
    int nonBlack = 0;
    for (int y = slide.top(); y < slide.bottom(); y += 7) {
        for (int x = slide.left(); x < slide.right(); x += 7) {
            nonBlack += shot.pixelColor(x, y) != QColor(Qt::black) ? 1 : 0;
        }
    }
    EXPECT_GT(nonBlack, 0);
    viewer->window()->close();
}

} // namespace
