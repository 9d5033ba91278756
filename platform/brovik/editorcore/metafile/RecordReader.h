#pragma once

#include <QByteArray>
#include <QPointF>
#include <QRectF>
#include <cstdint>
#include <cstring>

namespace KX::Tovrin::Metafiles {

// Little-endian fields of one record. Every read is bounds-checked: a field past the record's end
// reads as zero, so a truncated or forged record can draw something wrong but never read outside
// the file.
class RecordReader {
public:
    RecordReader() = default;
    RecordReader(const char* data, qsizetype size) : _data(data), _size(size) {}

    qsizetype size() const { return _size; }
    const char* data() const { return _data; }
    bool has(qsizetype offset, qsizetype count) const {
        return offset >= 0 && count >= 0 && offset <= _size && count <= _size - offset;
    }
    // Room for count items of itemSize bytes from offset, with no overflow on forged counts.
    bool hasArray(qsizetype offset, quint64 count, qsizetype itemSize) const {
        return offset >= 0 && offset <= _size && count <= quint64(_size - offset) / quint64(itemSize);
    }
    RecordReader sub(qsizetype offset, qsizetype count) const {
        return has(offset, count) ? RecordReader(_data + offset, count) : RecordReader();
    }

    quint8 u8(qsizetype offset) const { return has(offset, 1) ? quint8(_data[offset]) : 0; }
    quint16 u16(qsizetype offset) const { return quint16(read<2>(offset)); }
    qint16 i16(qsizetype offset) const { return qint16(u16(offset)); }
    quint32 u32(qsizetype offset) const { return quint32(read<4>(offset)); }
    qint32 i32(qsizetype offset) const { return qint32(u32(offset)); }
    float f32(qsizetype offset) const {
        const quint32 bits = u32(offset);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    QPointF pointL(qsizetype offset) const { return QPointF(i32(offset), i32(offset + 4)); }
    QPointF pointS(qsizetype offset) const { return QPointF(i16(offset), i16(offset + 2)); }
    // A RECTL (left, top, right, bottom) as a rectangle that may have negative extents.
    QRectF rectL(qsizetype offset) const {
        return QRectF(QPointF(i32(offset), i32(offset + 4)), QPointF(i32(offset + 8), i32(offset + 12)));
    }

private:
    template <int N> quint64 read(qsizetype offset) const {
        if (!has(offset, N))
            return 0;
        quint64 v = 0;
        for (int i = N - 1; i >= 0; --i)
            v = (v << 8) | quint8(_data[offset + i]);
        return v;
    }

    const char* _data = nullptr;
    qsizetype _size = 0;
};

} // namespace KX::Tovrin::Metafiles
