// Paints slidewell's images into PNG files for the resource compiler: every image in its plain
// size and an "@2x" form, the application icon in the hicolor sizes, and the Windows icon file.
// Usage: slidewell_image_painter <output folder>

#include "viewer/resources/painter/IcoWriter.h"
#include "viewer/resources/painter/Painting.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

namespace {

using KX::ImagePainter::ImageRecipe;

QImage paint(const ImageRecipe& recipe, int scale) {
    QImage image(recipe.size * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    painter.scale(scale, scale);
    recipe.paint(painter);
    painter.end();
    return image;
}

QImage appIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    KX::ImagePainter::paintAppIcon(painter, size);
    painter.end();
    return image;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: slidewell_image_painter <output folder>\n");
        return 2;
    }
    const QDir output(QString::fromLocal8Bit(argv[1]));
    if (!output.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    std::vector<ImageRecipe> images;
    for (auto group : {KX::ImagePainter::toolbarImages(), KX::ImagePainter::tipsImages(),
                       KX::ImagePainter::welcomeImages(), KX::ImagePainter::dialogImages()}) {
        images.insert(images.end(), group.begin(), group.end());
    }
    bool ok = true;
    for (const ImageRecipe& recipe : images) {
        ok &= paint(recipe, 1).save(output.filePath(recipe.name + QStringLiteral(".png")));
        ok &= paint(recipe, 2).save(output.filePath(recipe.name + QStringLiteral("@2x.png")));
    }

    QList<QImage> icoImages;
    for (int size : {16, 20, 24, 32, 40, 48, 64, 256}) {
        icoImages << appIcon(size);
    }
    ok &= KX::ImagePainter::writeIcoFile(output.filePath(QStringLiteral("appIcon.ico")), icoImages);
    // Every fixed size of the hicolor icon theme.
    for (int size : {16, 22, 24, 32, 36, 48, 64, 72, 96, 128, 192, 256, 512}) {
        ok &= appIcon(size).save(output.filePath(QStringLiteral("slidewell_%1.png").arg(size)));
    }
    if (!ok) {
        std::fprintf(stderr, "could not write every image into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
