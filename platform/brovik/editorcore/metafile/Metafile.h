#pragma once

#include "platform/brovik/editorcore/metafile/EmfPlayer.h"
#include "platform/brovik/editorcore/metafile/SvmPlayer.h"
#include "platform/brovik/editorcore/metafile/WmfPlayer.h"

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <optional>
#include <variant>

namespace KX::Tovrin::Metafiles {

// A vector picture in an enhanced (EMF), Windows (WMF) or StarView (SVM) metafile, played onto a
// QPainter.
class Metafile {
public:
    // Null when the bytes are not a metafile with a usable header.
    static std::optional<Metafile> read(QByteArray bytes);

    // The picture's size in pixels at 96 dpi.
    QSizeF naturalSize() const;
    // Draws the whole picture into target (in the painter's coordinates), clipped to it.
    void play(QPainter& painter, const QRectF& target) const;
    // The picture rasterised at size, on a transparent background.
    QImage toImage(QSize size) const;

private:
    Metafile(QByteArray bytes, std::variant<EmfHeader, WmfHeader, SvmHeader> header)
        : _bytes(std::move(bytes)), _header(std::move(header)) {}

    QByteArray _bytes;
    std::variant<EmfHeader, WmfHeader, SvmHeader> _header;
};

} // namespace KX::Tovrin::Metafiles
