#pragma once

#include <QImage>
#include <QMutex>
#include <list>
#include <unordered_map>

namespace KX::Tovrin {

// Decoded pictures by picture id, least recently used dropped first once they pass either the
// byte budget or the count limit. A deck of photographs then costs what is being drawn, not what
// it holds: a picture dropped here is decoded again from its compressed bytes when a slide needs
// it next. Thread-safe.
class DecodedPictureCache {
public:
    static constexpr qint64 DefaultBudgetBytes = 128ll << 20;
    static constexpr int DefaultMaxPictures = 256;

    explicit DecodedPictureCache(qint64 budgetBytes = DefaultBudgetBytes,
                                 int maxPictures = DefaultMaxPictures);

    // The one every picture of the process uses unless told otherwise.
    static DecodedPictureCache& shared();

    // A null image when `id` is not held.
    QImage find(quint64 id);
    // Keeps `image` as the most recent entry; an image over the whole budget is not kept.
    void insert(quint64 id, const QImage& image);
    void remove(quint64 id);
    void clear();

    int count() const;
    qint64 bytes() const;

private:
    struct Entry {
        quint64 id;
        QImage image;
    };
    void evict();

    mutable QMutex _mutex;
    std::list<Entry> _entries; // most recent first
    std::unordered_map<quint64, std::list<Entry>::iterator> _index;
    qint64 _bytes = 0;
    qint64 _budget;
    int _maxPictures;
};

} // namespace KX::Tovrin
