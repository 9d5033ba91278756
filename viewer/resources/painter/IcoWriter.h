#pragma once

#include <QImage>
#include <QList>
#include <QString>

namespace KX::ImagePainter {

// Writes a Windows icon file holding `images` (square, at most 256 pixels) as 32-bit images:
// uncompressed bitmaps up to 64 pixels, PNG above, as Windows expects.
bool writeIcoFile(const QString& path, const QList<QImage>& images);

} // namespace KX::ImagePainter
