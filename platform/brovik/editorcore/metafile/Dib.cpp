#include "platform/brovik/editorcore/metafile/Dib.h"

#include <QVector>
#include <algorithm>

namespace KX::Tovrin::Metafiles {

namespace {
// Bitmaps past this are refused: no slide picture needs them, and a forged header must not make
// us allocate gigabytes.
constexpr qint64 MaxPixels = 32'000'000;

enum Compression : quint32 { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, Jpeg = 4, Png = 5 };

struct DibHeader {
    qint64 width = 0;
    qint64 height = 0; // positive: rows bottom-up
    int bitCount = 0;
    quint32 compression = Rgb;
    int colourCount = 0;
    qsizetype colourOffset = 0;
    int colourSize = 4; // RGBQUAD, or RGBTRIPLE in core headers
    quint32 masks[3] = {0x7c00, 0x3e0, 0x1f};
};

bool readHeader(const RecordReader& info, DibHeader& h) {
    const quint32 headerSize = info.u32(0);
    if (headerSize == 12) { // BITMAPCOREHEADER
        h.width = info.u16(4);
        h.height = info.u16(6);
        h.bitCount = info.u16(10);
        h.colourSize = 3;
    } else if (headerSize >= 40) {
        h.width = info.i32(4);
        h.height = info.i32(8);
        h.bitCount = info.u16(14);
        h.compression = info.u32(16);
        h.colourCount = int(std::min<quint32>(info.u32(32), 256));
    } else {
        return false;
    }
    h.colourOffset = headerSize;
    if (h.compression == BitFields) {
        const qsizetype at = headerSize >= 52 ? 40 : headerSize;
        for (int i = 0; i < 3; ++i)
            h.masks[i] = info.u32(at + 4 * i);
        if (headerSize < 52)
            h.colourOffset += 12;
    } else if (h.bitCount == 32) {
        h.masks[0] = 0xff0000, h.masks[1] = 0xff00, h.masks[2] = 0xff;
    }
    if (h.bitCount <= 8 && h.colourCount == 0)
        h.colourCount = 1 << h.bitCount;
    return h.width > 0 && h.height != 0 && std::abs(h.height) <= MaxPixels &&
           h.width * std::abs(h.height) <= MaxPixels;
}

QVector<QRgb> colourTable(const RecordReader& info, const DibHeader& h) {
    QVector<QRgb> table;
    for (int i = 0; i < h.colourCount; ++i) {
        const qsizetype at = h.colourOffset + qsizetype(i) * h.colourSize;
        table.push_back(qRgb(info.u8(at + 2), info.u8(at + 1), info.u8(at)));
    }
    while (h.bitCount <= 8 && table.size() < (1 << h.bitCount))
        table.push_back(qRgb(0, 0, 0));
    return table;
}

// Value of a masked channel scaled to 0..255.
int channel(quint32 pixel, quint32 mask) {
    if (mask == 0)
        return 0;
    int shift = 0;
    while (!(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    const quint32 v = (pixel >> shift) & mask;
    return int(v * 255 / mask);
}

QImage decodeRows(const RecordReader& bits, const DibHeader& h, const QVector<QRgb>& colours,
                  bool keepAlpha) {
    const int w = int(h.width), rows = int(std::abs(h.height));
    const qsizetype stride = ((h.width * h.bitCount + 31) / 32) * 4;
    QImage image(w, rows, keepAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.fill(keepAlpha ? Qt::transparent : Qt::black);
    for (int r = 0; r < rows; ++r) {
        const qsizetype at = qsizetype(r) * stride;
        if (!bits.has(at, stride))
            break; // a short bitmap keeps its missing rows black
        const uchar* src = reinterpret_cast<const uchar*>(bits.data() + at);
        QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(h.height > 0 ? rows - 1 - r : r));
        for (int x = 0; x < w; ++x) {
            switch (h.bitCount) {
            case 1:
                out[x] = colours[(src[x >> 3] >> (7 - (x & 7))) & 1];
                break;
            case 4:
                out[x] = colours[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
                break;
            case 8:
                out[x] = colours[src[x]];
                break;
            case 16: {
                const quint32 p = src[2 * x] | (src[2 * x + 1] << 8);
                out[x] = qRgb(channel(p, h.masks[0]), channel(p, h.masks[1]), channel(p, h.masks[2]));
                break;
            }
            case 24:
                out[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
                break;
            default: {
                const quint32 p = src[4 * x] | (src[4 * x + 1] << 8) | (src[4 * x + 2] << 16) |
                                  (quint32(src[4 * x + 3]) << 24);
                out[x] = qRgba(channel(p, h.masks[0]), channel(p, h.masks[1]), channel(p, h.masks[2]),
                               keepAlpha ? int(p >> 24) : 255);
            }
            }
        }
    }
    return image;
}
} // namespace

QImage decodeDib(const RecordReader& info, const RecordReader& bits, bool keepAlpha) {
    DibHeader h;
    if (!readHeader(info, h))
        return {};
    if (h.compression == Jpeg || h.compression == Png)
        return QImage::fromData(reinterpret_cast<const uchar*>(bits.data()), int(bits.size()));
    const bool supported = h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 || h.bitCount == 16 ||
                           h.bitCount == 24 || h.bitCount == 32;
    if (!supported || (h.compression != Rgb && h.compression != BitFields))
        return {}; // run-length bitmaps are rare in slide pictures
    return decodeRows(bits, h, colourTable(info, h), keepAlpha && h.bitCount == 32);
}

QImage decodePackedDib(const RecordReader& packed) {
    DibHeader h;
    if (!readHeader(packed, h))
        return {};
    const qsizetype bitsAt = h.colourOffset + qsizetype(h.colourCount) * h.colourSize;
    return decodeDib(packed, packed.sub(bitsAt, packed.size() - bitsAt));
}

} // namespace KX::Tovrin::Metafiles
