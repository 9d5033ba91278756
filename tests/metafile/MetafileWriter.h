#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>
#include <initializer_list>

namespace KX::Tovrin::Metafiles::Test {

// Little-endian record fields.
class Fields {
public:
    Fields& u8(quint8 v);
    Fields& u16(quint16 v);
    Fields& u32(quint32 v);
    Fields& i32(qint32 v) { return u32(quint32(v)); }
    Fields& i16(qint16 v) { return u16(quint16(v)); }
    Fields& f32(float v);
    Fields& ints(std::initializer_list<qint32> values);
    Fields& shorts(std::initializer_list<qint16> values);
    Fields& utf16(const QString& text); // without terminator, padded to four bytes
    Fields& bytes(const QByteArray& b);
    Fields& pad(int multiple);
    const QByteArray& data() const { return _data; }
    int size() const { return int(_data.size()); }

private:
    QByteArray _data;
};

// A device-independent bitmap of the image, 24 bits, bottom-up: header, then rows.
QByteArray dibHeader(const QImage& image);
QByteArray dibRows(const QImage& image);

// Writes an enhanced metafile: a header for a reference device of 100 pixels per 25.4 mm
// (so one device unit is 0.254 mm) with the given device bounds, then records, then EOF.
class EmfWriter {
public:
    explicit EmfWriter(QRect deviceBounds);
    EmfWriter& record(quint32 type, const Fields& fields);
    EmfWriter& record(quint32 type, std::initializer_list<qint32> values);
    QByteArray finish();

private:
    QRect _bounds;
    QByteArray _records;
    int _count = 0;
};

// Writes a Windows metafile with a placeable header covering bbox at unitsPerInch.
class WmfWriter {
public:
    WmfWriter(QRect bbox, int unitsPerInch);
    WmfWriter& record(quint16 function, const Fields& fields);
    WmfWriter& record(quint16 function, std::initializer_list<qint16> words);
    QByteArray finish();

private:
    QRect _bbox;
    int _unitsPerInch;
    QByteArray _records;
    quint32 _largest = 3;
};

// Writes a StarView metafile in hundredths of a millimetre whose frame is (0, 0, size).
class SvmWriter {
public:
    explicit SvmWriter(QSize size) : _size(size) {}
    SvmWriter& record(quint16 type, quint16 version, const Fields& fields);
    QByteArray finish();

private:
    QSize _size;
    QByteArray _records;
    quint32 _count = 0;
};

// A map mode's fields as the header and map mode records carry them.
Fields svmMapMode(quint16 unit, QPoint origin);

} // namespace KX::Tovrin::Metafiles::Test
