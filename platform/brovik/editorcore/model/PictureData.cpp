#include "platform/brovik/editorcore/model/PictureData.h"

#include "platform/brovik/editorcore/model/DecodedPictureCache.h"
#include "platform/brovik/editorcore/model/PictureResolution.h"

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
// Metafiles are drawn as vectors; their raster form only serves tiled fills.
constexpr qint64 MetafilePixels = 4'000'000;

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

const Metafiles::Metafile* PictureData::metafile() const {
    std::call_once(_parsed, [this] { _metafile = Metafiles::Metafile::read(_bytes); });
    return _metafile ? &*_metafile : nullptr;
}

double PictureData::pointsPerPixel() const {
    if (metafile())
        return 0.75; // natural sizes of metafiles are given at 96 dpi
    const std::optional<QSizeF> dpi = recordedDotsPerInch(_bytes);
    return dpi ? 72 / dpi->width() : 0.75;
}

QSize PictureData::naturalSize() const {
    if (const Metafiles::Metafile* m = metafile()) {
        const QSize size = m->naturalSize().toSize();
        return size.width() > 0 && size.height() > 0 && size.width() <= MaxSide && size.height() <= MaxSide
                   ? size
                   : QSize();
    }
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
    if (const Metafiles::Metafile* m = metafile()) {
        QSize size = naturalSize();
        const qint64 pixels = qint64(size.width()) * size.height();
        if (pixels > MetafilePixels)
            size = (QSizeF(size) * std::sqrt(double(MetafilePixels) / double(pixels))).toSize();
        return size.isEmpty() ? QImage() : m->toImage(size);
    }
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
