#pragma once

#include <QByteArray>
#include <QPainter>
#include <QRectF>
#include <optional>

namespace KX::Tovrin::Metafiles {

// What a StarView metafile (the "VCLMTF" pictures ODF documents carry as previews of tables and
// embedded objects) says about its picture: the frame it covers in hundredths of a millimetre,
// the mapping its records start with, and where the records begin.
struct SvmHeader {
    QRectF frame;
    QTransform mapping; // logical units to hundredths of a millimetre
    quint32 actions = 0;
    qsizetype firstRecord = 0;
};

std::optional<SvmHeader> readSvmHeader(const QByteArray& bytes);

// Plays the records so that the frame fills target.
void playSvm(const QByteArray& bytes, const SvmHeader& header, QPainter& painter, const QRectF& target);

} // namespace KX::Tovrin::Metafiles
