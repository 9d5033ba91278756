#pragma once

#include "platform/brovik/editorcore/metafile/Metafile.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <atomic>
#include <mutex>
#include <optional>

namespace KX::Tovrin {

class DecodedPictureCache;

// An embedded picture. The bytes stay compressed until a render needs them, and the decoded image
// lives in a bounded cache shared by all pictures rather than here, so neither opening nor showing
// every slide of a large deck keeps every image decoded. Thread-safe.
class PictureData {
public:
    // `cache` must outlive the picture.
    PictureData(QByteArray bytes, QString name, DecodedPictureCache* cache = nullptr);
    ~PictureData();
    PictureData(const PictureData&) = delete;
    PictureData& operator=(const PictureData&) = delete;

    // The decoded image, or a null image when the bytes are not a picture Qt can read safely.
    // Decoded again when the cache has dropped it. A metafile comes rasterised at its natural size;
    // painters draw it through metafile().
    QImage image() const;
    // The vector picture when the bytes are an EMF or WMF metafile, else null.
    const Metafiles::Metafile* metafile() const;
    const QString& name() const { return _name; }
    // Size and readability from the header alone, without decoding the picture.
    QSize naturalSize() const;
    bool canDecode() const { return naturalSize().isValid(); }
    // Points per pixel of naturalSize(): the picture's own resolution where it records one.
    double pointsPerPixel() const;

private:
    QImage decode() const;

    QByteArray _bytes;
    QString _name;
    mutable std::once_flag _parsed;
    mutable std::optional<Metafiles::Metafile> _metafile;
    DecodedPictureCache* _cache;
    quint64 _id;
    // One decode at a time per picture: threads rendering neighbouring slides share the work.
    mutable std::mutex _decoding;
    mutable std::atomic<bool> _unreadable{false};
};

} // namespace KX::Tovrin
