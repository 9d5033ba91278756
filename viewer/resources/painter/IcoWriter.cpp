#include "viewer/resources/painter/IcoWriter.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>

namespace KX::ImagePainter {

namespace {

// BITMAPINFOHEADER + bottom-up BGRA rows + an all-zero AND mask (alpha decides transparency).
QByteArray bitmapEntry(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int size = image.width();
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const int maskRowBytes = ((size + 31) / 32) * 4;
    out << quint32(40) << qint32(size) << qint32(size * 2) << quint16(1) << quint16(32) << quint32(0)
        << quint32(size * size * 4 + maskRowBytes * size) << qint32(0) << qint32(0) << quint32(0)
        << quint32(0);
    for (int y = size - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < size; ++x) {
            out << quint8(qBlue(row[x])) << quint8(qGreen(row[x])) << quint8(qRed(row[x]))
                << quint8(qAlpha(row[x]));
        }
    }
    data.append(QByteArray(maskRowBytes * size, '\0'));
    return data;
}

QByteArray pngEntry(const QImage& image) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return data;
}

} // namespace

bool writeIcoFile(const QString& path, const QList<QImage>& images) {
    QList<QByteArray> entries;
    for (const QImage& image : images) {
        entries << (image.width() > 64 ? pngEntry(image) : bitmapEntry(image));
    }
    QByteArray file;
    QDataStream out(&file, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(images.size());
    quint32 offset = 6 + 16 * static_cast<quint32>(images.size());
    for (int i = 0; i < images.size(); ++i) {
        const int size = images[i].width();
        const quint8 dimension = size >= 256 ? 0 : static_cast<quint8>(size);
        out << dimension << dimension << quint8(0) << quint8(0) << quint16(1) << quint16(32)
            << quint32(entries[i].size()) << offset;
        offset += static_cast<quint32>(entries[i].size());
    }
    for (const QByteArray& entry : entries) {
        file.append(entry);
    }
    QFile target(path);
    return target.open(QIODevice::WriteOnly) && target.write(file) == file.size();
}

} // namespace KX::ImagePainter
