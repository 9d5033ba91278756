#pragma once

#include "MetafileWriter.h"
#include "platform/brovik/editorcore/metafile/Metafile.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

namespace KX::Tovrin::Metafiles::Test {

// Fonts and images need a GUI application; one for the whole test program.
inline void ensureApplication() {
    static int argc = 1;
    static char name[] = "metafile_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = QCoreApplication::instance() ? nullptr : new QGuiApplication(argc, argv);
    (void)app;
}

// Plays the metafile onto a white image of the given size.
inline QImage play(const QByteArray& bytes, QSize size = QSize(200, 200)) {
    ensureApplication();
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    const std::optional<Metafile> metafile = Metafile::read(bytes);
    if (metafile) {
        QPainter painter(&image);
        metafile->play(painter, QRectF(QPointF(0, 0), size));
    }
    return image;
}

inline bool near(QColor a, QColor b, int tolerance = 12) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// Count of pixels in rect clearly darker than white.
inline int inkIn(const QImage& image, const QRect& rect) {
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (qGray(image.pixel(x, y)) < 160)
                ++n;
    return n;
}

} // namespace KX::Tovrin::Metafiles::Test
