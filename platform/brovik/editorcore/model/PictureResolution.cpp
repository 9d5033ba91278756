#include "platform/brovik/editorcore/model/PictureResolution.h"

namespace KX::Tovrin {

namespace {
quint32 bigEndian(const QByteArray& b, int at, int bytes) {
    quint32 v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | quint8(b[at + i]);
    return v;
}

std::optional<QSizeF> valid(double x, double y) {
    // Resolutions outside this range are unit mix-ups, not meant sizes.
    if (x < 10 || y < 10 || x > 10000 || y > 10000)
        return std::nullopt;
    return QSizeF(x, y);
}

std::optional<QSizeF> pngResolution(const QByteArray& b) {
    int at = 8;
    while (at + 12 <= b.size()) {
        const quint32 length = bigEndian(b, at, 4);
        const QByteArray type = b.mid(at + 4, 4);
        if (type == "IDAT" || length > quint32(b.size() - at - 12))
            break;                                                    // pHYs comes before the pixels
        if (type == "pHYs" && length >= 9 && quint8(b[at + 16]) == 1) // per metre
            return valid(bigEndian(b, at + 8, 4) * 0.0254, bigEndian(b, at + 12, 4) * 0.0254);
        at += 12 + int(length);
    }
    return std::nullopt;
}

std::optional<QSizeF> jpegResolution(const QByteArray& b) {
    int at = 2;
    while (at + 4 <= b.size() && quint8(b[at]) == 0xFF) {
        const quint8 marker = quint8(b[at + 1]);
        const int length = bigEndian(b, at + 2, 2);
        if (marker == 0xDA || length < 2)
            break; // image data follows
        if (marker == 0xE0 && length >= 14 && at + 16 <= b.size() &&
            b.mid(at + 4, 5) == QByteArray("JFIF", 5)) {
            const int units = quint8(b[at + 11]);
            const double x = bigEndian(b, at + 12, 2), y = bigEndian(b, at + 14, 2);
            if (units == 1)
                return valid(x, y);
            if (units == 2)
                return valid(x * 2.54, y * 2.54);
            return std::nullopt;
        }
        at += 2 + length;
    }
    return std::nullopt;
}
} // namespace

std::optional<QSizeF> recordedDotsPerInch(const QByteArray& bytes) {
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return pngResolution(bytes);
    if (bytes.startsWith("\xFF\xD8"))
        return jpegResolution(bytes);
    return std::nullopt;
}

} // namespace KX::Tovrin
