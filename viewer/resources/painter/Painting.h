#pragma once

// Drawing code of slidewell's images. Each function paints one image in its plain size's
// coordinates; the caller scales the painter for the "@2x" form, so both forms come from the same
// drawing.

#include <QColor>
#include <QSize>
#include <QString>
#include <functional>
#include <vector>

class QPainter;

namespace KX::ImagePainter {

struct ImageRecipe {
    QString name;
    QSize size;
    std::function<void(QPainter&)> paint;
};

// Colours of the product.
inline const QColor AppRed(190, 68, 78);
inline const QColor AppRedDark(158, 55, 64);
inline const QColor ToolbarIconColour(255, 255, 255);
inline const QColor ToolbarIconDisabledColour(255, 255, 255, 90);

std::vector<ImageRecipe> toolbarImages();
std::vector<ImageRecipe> tipsImages();
std::vector<ImageRecipe> welcomeImages();
std::vector<ImageRecipe> dialogImages();

// The application icon at `size` pixels (square).
void paintAppIcon(QPainter& painter, int size);

} // namespace KX::ImagePainter
