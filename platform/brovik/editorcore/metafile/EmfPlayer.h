#pragma once

#include <QByteArray>
#include <QPainter>
#include <QRectF>
#include <optional>

namespace KX::Tovrin::Metafiles {

// What an enhanced metafile's header says about its picture.
struct EmfHeader {
    QRectF bounds;      // device units
    QRectF frame;       // hundredths of a millimetre
    QSizeF pixelsPerMm; // of the reference device
};

std::optional<EmfHeader> readEmfHeader(const QByteArray& bytes);

// Plays the records so that the header's frame fills target. EMF+ records in comments are left
// out: files that carry them also carry the same picture as plain records.
void playEmf(const QByteArray& bytes, const EmfHeader& header, QPainter& painter, const QRectF& target);

} // namespace KX::Tovrin::Metafiles
