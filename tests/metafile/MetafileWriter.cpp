#include "MetafileWriter.h"

#include <cstring>

namespace KX::Tovrin::Metafiles::Test {

Fields& Fields::u8(quint8 v) {
    _data.append(char(v));
    return *this;
}

Fields& Fields::u16(quint16 v) {
    return u8(v & 0xff).u8(v >> 8);
}

Fields& Fields::u32(quint32 v) {
    return u16(v & 0xffff).u16(v >> 16);
}

Fields& Fields::f32(float v) {
    quint32 bits;
    std::memcpy(&bits, &v, sizeof bits);
    return u32(bits);
}

Fields& Fields::ints(std::initializer_list<qint32> values) {
    for (qint32 v : values)
        i32(v);
    return *this;
}

Fields& Fields::shorts(std::initializer_list<qint16> values) {
    for (qint16 v : values)
        i16(v);
    return *this;
}

Fields& Fields::utf16(const QString& text) {
    for (QChar c : text)
        u16(c.unicode());
    return pad(4);
}

Fields& Fields::bytes(const QByteArray& b) {
    _data.append(b);
    return *this;
}

Fields& Fields::pad(int multiple) {
    while (_data.size() % multiple)
        u8(0);
    return *this;
}

QByteArray dibHeader(const QImage& image) {
    Fields f;
    f.u32(40).i32(image.width()).i32(image.height()).u16(1).u16(24).u32(0).u32(0).i32(0).i32(0).u32(0).u32(0);
    return f.data();
}

QByteArray dibRows(const QImage& image) {
    Fields f;
    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            f.u8(quint8(qBlue(p))).u8(quint8(qGreen(p))).u8(quint8(qRed(p)));
        }
        f.pad(4);
    }
    return f.data();
}

EmfWriter::EmfWriter(QRect deviceBounds) : _bounds(deviceBounds) {}

EmfWriter& EmfWriter::record(quint32 type, const Fields& fields) {
    Fields r;
    r.u32(type).u32(quint32(8 + fields.size())).bytes(fields.data());
    _records.append(r.data());
    ++_count;
    return *this;
}

EmfWriter& EmfWriter::record(quint32 type, std::initializer_list<qint32> values) {
    return record(type, Fields().ints(values));
}

QByteArray EmfWriter::finish() {
    record(14, Fields().u32(0).u32(16).u32(20)); // EOF without a palette
    const QRect b = _bounds;
    Fields h;
    const int size = 88;
    h.u32(1).u32(size);
    h.ints({b.left(), b.top(), b.right(), b.bottom()});
    // Frame in hundredths of a millimetre: 25.4 per device unit.
    h.ints({int(b.left() * 25.4), int(b.top() * 25.4), int((b.right() + 1) * 25.4),
            int((b.bottom() + 1) * 25.4)});
    h.u32(0x464D4520).u32(0x10000).u32(quint32(size + _records.size())).u32(quint32(_count + 1));
    h.u16(16).u16(0).u32(0).u32(0).u32(0);
    h.ints({1000, 1000, 254, 254});
    return h.data() + _records;
}

WmfWriter::WmfWriter(QRect bbox, int unitsPerInch) : _bbox(bbox), _unitsPerInch(unitsPerInch) {}

WmfWriter& WmfWriter::record(quint16 function, const Fields& fields) {
    Fields padded = fields;
    padded.pad(2);
    const quint32 words = 3 + quint32(padded.size() / 2);
    Fields r;
    r.u32(words).u16(function).bytes(padded.data());
    _records.append(r.data());
    _largest = std::max(_largest, words);
    return *this;
}

WmfWriter& WmfWriter::record(quint16 function, std::initializer_list<qint16> words) {
    return record(function, Fields().shorts(words));
}

QByteArray WmfWriter::finish() {
    record(0, Fields());
    Fields p;
    p.u32(0x9AC6CDD7).u16(0);
    p.shorts(
        {qint16(_bbox.left()), qint16(_bbox.top()), qint16(_bbox.right() + 1), qint16(_bbox.bottom() + 1)});
    p.u16(quint16(_unitsPerInch)).u32(0);
    quint16 checksum = 0;
    for (int i = 0; i < 20; i += 2)
        checksum ^= quint16(quint8(p.data()[i]) | (quint8(p.data()[i + 1]) << 8));
    p.u16(checksum);
    Fields h;
    h.u16(1).u16(9).u16(0x300).u32(quint32(9 + _records.size() / 2)).u16(32).u32(_largest).u16(0);
    return p.data() + h.data() + _records;
}

Fields svmMapMode(quint16 unit, QPoint origin) {
    Fields f;
    f.u16(1).u32(27).u16(unit).i32(origin.x()).i32(origin.y()).ints({1, 1, 1, 1}).u8(0);
    return f;
}

SvmWriter& SvmWriter::record(quint16 type, quint16 version, const Fields& fields) {
    _records.append(Fields().u16(type).u16(version).u32(quint32(fields.size())).bytes(fields.data()).data());
    ++_count;
    return *this;
}

QByteArray SvmWriter::finish() {
    Fields header;
    header.u32(0).bytes(svmMapMode(0, QPoint()).data()).i32(_size.width()).i32(_size.height()).u32(_count);
    Fields file;
    file.bytes("VCLMTF").u16(1).u32(quint32(header.size())).bytes(header.data()).bytes(_records);
    return file.data();
}

} // namespace KX::Tovrin::Metafiles::Test
