// slide-render: renders every slide of a presentation to PNG files, for checking the editor core
// by eye and for timing it.
//
//   slide-render --width W --out DIR [--slides N] [--repeat] FILE
//
// Writes DIR/slide-001.png, slide-002.png, ... at W pixels wide and prints one line per slide
// with its render time. --slides renders only the first N slides; --repeat renders each slide a
// second time and prints how long the cached answer took. Exits with status 1 and a message on
// standard error when the file cannot be loaded or the arguments are wrong.

#include "platform/brovik/editorcore/PresentationViewerEditorCore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {
int usage() {
    std::fprintf(stderr, "usage: slide-render --width W --out DIR [--slides N] [--repeat] FILE\n");
    return 1;
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    int width = 1280;
    int limit = -1;
    bool repeat = false;
    QString outDir;
    QString file;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--width") && i + 1 < args.size()) {
            bool ok = false;
            width = args[++i].toInt(&ok);
            if (!ok || width < 1 || width > 16384) {
                std::fprintf(stderr, "slide-render: the width must be between 1 and 16384 pixels\n");
                return 1;
            }
        } else if (a == QLatin1String("--slides") && i + 1 < args.size()) {
            bool ok = false;
            limit = args[++i].toInt(&ok);
            if (!ok || limit < 0)
                return usage();
        } else if (a == QLatin1String("--repeat")) {
            repeat = true;
        } else if (a == QLatin1String("--out") && i + 1 < args.size()) {
            outDir = args[++i];
        } else if (a.startsWith(QLatin1String("--")) || !file.isEmpty()) {
            return usage();
        } else {
            file = a;
        }
    }
    if (file.isEmpty() || outDir.isEmpty())
        return usage();

    KX::Tovrin::PresentationViewerEditorCore core;
    QElapsedTimer timer;
    timer.start();
    try {
        core.load(file);
    } catch (const KX::Tovrin::DocumentLoadError& e) {
        std::fprintf(stderr, "slide-render: %s\n", e.what());
        return 1;
    }
    std::printf("loaded %s: %d slides, %.0fx%.0f pt, %.1f ms\n", qPrintable(file), core.getSlidesCount(),
                core.slideSize().width(), core.slideSize().height(), timer.nsecsElapsed() / 1e6);
    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "slide-render: cannot create the folder %s\n", qPrintable(outDir));
        return 1;
    }
    const QSizeF slide = core.slideSize();
    const int height = std::max(1, int(std::lround(width * slide.height() / slide.width())));
    int failures = 0;
    const int count = limit >= 0 ? std::min(limit, core.getSlidesCount()) : core.getSlidesCount();
    for (int i = 0; i < count; ++i) {
        timer.restart();
        const QImage image = core.renderSlide(i, QSize(width, height));
        const double ms = timer.nsecsElapsed() / 1e6;
        const QString name =
            QDir(outDir).filePath(QStringLiteral("slide-%1.png").arg(i + 1, 3, 10, QLatin1Char('0')));
        if (image.isNull() || !image.save(name)) {
            std::fprintf(stderr, "slide-render: cannot write %s\n", qPrintable(name));
            ++failures;
            continue;
        }
        if (repeat) {
            timer.restart();
            core.renderSlide(i, QSize(width, height));
            std::printf("slide %d: %.1f ms (again: %.3f ms)\n", i + 1, ms, timer.nsecsElapsed() / 1e6);
        } else {
            std::printf("slide %d: %.1f ms\n", i + 1, ms);
        }
    }
    return failures == 0 ? 0 : 1;
}
