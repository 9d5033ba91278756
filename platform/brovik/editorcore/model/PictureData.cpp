#include "platform/brovik/editorcore/model/PictureData.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <cmath>

namespace KX::Tovrin {

namespace {
// Pictures larger than this are decoded at a reduced size: a slide never needs more, and a
// forged header must not make us allocate gigabytes.
constexpr qint64 MaxPixels = 24'000'000;
constexpr int MaxSide = 16384;
} // namespace

PictureData::PictureData(QByteArray bytes, QString name) : _bytes(std::move(bytes)), _name(std::move(name)) {}

QSize PictureData::naturalSize() const {
    QBuffer buffer;
    buffer.setData(_bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    return size.isValid() && size.width() > 0 && size.height() > 0 ? size : QSize();
}

const QImage& PictureData::image() const {
    std::call_once(_decoded, [this] {
        QBuffer buffer;
        buffer.setData(_bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        reader.setAutoTransform(true);
        const QSize size = reader.size();
        if (!size.isValid() || size.width() <= 0 || size.height() <= 0)
            return;
        QSize wanted = size;
        const qint64 pixels = qint64(size.width()) * size.height();
        if (pixels > MaxPixels || size.width() > MaxSide || size.height() > MaxSide) {
            const double f = std::min({std::sqrt(double(MaxPixels) / double(pixels)),
                                       double(MaxSide) / size.width(), double(MaxSide) / size.height()});
            wanted = QSize(std::max(1, int(size.width() * f)), std::max(1, int(size.height() * f)));
            reader.setScaledSize(wanted);
        }
        QImage image;
        if (reader.read(&image))
            _image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                                   : QImage::Format_RGB32);
    });
    return _image;
}

} // namespace KX::Tovrin
