#pragma once

#include <QByteArray>
#include <QPainter>
#include <QRectF>
#include <optional>

namespace KX::Tovrin::Metafiles {

// What a Windows metafile says about its picture: the logical rectangle it covers (from the
// placeable header, else from its window) and that rectangle's units per inch.
struct WmfHeader {
    QRectF frame;
    double unitsPerInch = 1440;
    qsizetype firstRecord = 0;
};

std::optional<WmfHeader> readWmfHeader(const QByteArray& bytes);

// Plays the records so that the frame fills target.
void playWmf(const QByteArray& bytes, const WmfHeader& header, QPainter& painter, const QRectF& target);

} // namespace KX::Tovrin::Metafiles
