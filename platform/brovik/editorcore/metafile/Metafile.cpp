#include "platform/brovik/editorcore/metafile/Metafile.h"

namespace KX::Tovrin::Metafiles {

std::optional<Metafile> Metafile::read(QByteArray bytes) {
    if (auto emf = readEmfHeader(bytes))
        return Metafile(std::move(bytes), *emf);
    if (auto wmf = readWmfHeader(bytes))
        return Metafile(std::move(bytes), *wmf);
    if (auto svm = readSvmHeader(bytes))
        return Metafile(std::move(bytes), *svm);
    return std::nullopt;
}

QSizeF Metafile::naturalSize() const {
    if (const auto* emf = std::get_if<EmfHeader>(&_header))
        return emf->frame.size() * (96 / 2540.0);
    if (const auto* svm = std::get_if<SvmHeader>(&_header))
        return svm->frame.size() * (96 / 2540.0);
    const auto& wmf = std::get<WmfHeader>(_header);
    return wmf.frame.size() * (96 / wmf.unitsPerInch);
}

void Metafile::play(QPainter& painter, const QRectF& target) const {
    if (target.isEmpty())
        return;
    if (const auto* emf = std::get_if<EmfHeader>(&_header))
        playEmf(_bytes, *emf, painter, target);
    else if (const auto* svm = std::get_if<SvmHeader>(&_header))
        playSvm(_bytes, *svm, painter, target);
    else
        playWmf(_bytes, std::get<WmfHeader>(_header), painter, target);
}

QImage Metafile::toImage(QSize size) const {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(Qt::transparent);
    QPainter painter(&image);
    play(painter, QRectF(QPointF(0, 0), size));
    return image;
}

} // namespace KX::Tovrin::Metafiles
