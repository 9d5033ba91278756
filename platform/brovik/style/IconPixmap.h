#pragma once

#include <QPixmap>
#include <QString>

namespace KX::Brovik {

// The pixmap of an image resource for the primary screen: the "@2x" form (device pixel ratio 2) on
// high-density screens when it exists, the plain form otherwise.
QPixmap getPixmapForIcon(const QString& name);
// The same choice for an explicit device pixel ratio.
QPixmap getPixmapForIcon(const QString& name, qreal devicePixelRatio);

} // namespace KX::Brovik
