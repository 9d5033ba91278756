#include "platform/brovik/editorcore/model/PictureData.h"

#include "platform/brovik/editorcore/model/DecodedPictureCache.h"

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

quint64 nextPictureId() {
    static std::atomic<quint64> next{1};
    return next++;
}
} // namespace

PictureData::PictureData(QByteArray bytes, QString name, DecodedPictureCache* cache)
    : _bytes(std::move(bytes)), _name(std::move(name)),
      _cache(cache ? cache : &DecodedPictureCache::shared()), _id(nextPictureId()) {}

PictureData::~PictureData() {
    _cache->remove(_id);
}

QSize PictureData::naturalSize() const {
    QBuffer buffer;
    buffer.setData(_bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    return size.isValid() && size.width() > 0 && size.height() > 0 ? size : QSize();
}

QImage PictureData::image() const {
    if (_unreadable)
        return {};
    std::lock_guard lock(_decoding);
    QImage image = _cache->find(_id);
    if (image.isNull()) {
        image = decode();
        if (image.isNull())
            _unreadable = true;
        else
            _cache->insert(_id, image);
    }
    return image;
}

QImage PictureData::decode() const {
    QBuffer buffer;
    buffer.setData(_bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() <= 0 || size.height() <= 0)
        return {};
    QSize wanted = size;
    const qint64 pixels = qint64(size.width()) * size.height();
    if (pixels > MaxPixels || size.width() > MaxSide || size.height() > MaxSide) {
        const double f = std::min({std::sqrt(double(MaxPixels) / double(pixels)),
                                   double(MaxSide) / size.width(), double(MaxSide) / size.height()});
        wanted = QSize(std::max(1, int(size.width() * f)), std::max(1, int(size.height() * f)));
        reader.setScaledSize(wanted);
    }
    QImage image;
    if (!reader.read(&image))
        return {};
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}

} // namespace KX::Tovrin
