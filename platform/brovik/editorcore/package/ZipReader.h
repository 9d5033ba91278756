#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

struct zip;

namespace KX::Tovrin {

// Read-only access to a zip package held in memory. Sizes recorded in the archive are not trusted:
// every read stops at a hard limit, and the total amount inflated per package is capped, so a
// crafted archive cannot exhaust memory.
class ZipReader {
public:
    static constexpr qint64 MaxEntrySize = 256ll << 20;
    static constexpr qint64 MaxTotalInflated = 2048ll << 20;

    // Throws DocumentLoadError when the bytes are not a readable zip archive.
    explicit ZipReader(QByteArray bytes);
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    bool contains(const QString& name) const;
    QStringList entryNames() const;
    // The entry's bytes. Throws DocumentLoadError when it is missing, damaged or over the limit.
    QByteArray read(const QString& name, qint64 limit = MaxEntrySize) const;
    // Like read, but an empty array instead of an error.
    QByteArray tryRead(const QString& name, qint64 limit = MaxEntrySize) const noexcept;

private:
    QByteArray _bytes;
    zip* _archive = nullptr;
    mutable qint64 _inflated = 0;
};

} // namespace KX::Tovrin
