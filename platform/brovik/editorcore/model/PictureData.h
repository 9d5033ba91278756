#pragma once

#include "platform/brovik/editorcore/metafile/Metafile.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <mutex>
#include <optional>

namespace KX::Tovrin {

// An embedded picture. The bytes stay compressed until the first render needs them, so opening a
// large deck does not decode every image up front. Decoding is thread-safe and happens once.
class PictureData {
public:
    PictureData(QByteArray bytes, QString name);

    // The decoded image, or a null image when the bytes are not a picture Qt can read safely.
    // A metafile comes rasterised at its natural size; painters draw it through metafile().
    const QImage& image() const;
    // The vector picture when the bytes are an EMF or WMF metafile, else null.
    const Metafiles::Metafile* metafile() const;
    const QString& name() const { return _name; }
    // Size and readability from the header alone, without decoding the picture.
    QSize naturalSize() const;
    bool canDecode() const { return naturalSize().isValid(); }
    // Points per pixel of naturalSize(): the picture's own resolution where it records one.
    double pointsPerPixel() const;

private:
    QByteArray _bytes;
    QString _name;
    mutable std::once_flag _decoded;
    mutable std::once_flag _parsed;
    mutable std::optional<Metafiles::Metafile> _metafile;
    mutable QImage _image;
};

} // namespace KX::Tovrin
