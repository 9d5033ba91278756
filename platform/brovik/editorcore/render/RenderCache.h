#pragma once

#include <QImage>
#include <QMutex>
#include <QSize>
#include <list>
#include <map>
#include <utility>

namespace KX::Tovrin {

// Rendered slides by (index, size), least recently used dropped first once the images together
// pass the byte budget. Thread-safe.
class RenderCache {
public:
    explicit RenderCache(qint64 budgetBytes = 256ll << 20) : _budget(budgetBytes) {}

    QImage find(int index, const QSize& size);
    void insert(int index, const QSize& size, const QImage& image);
    void clear();
    qint64 bytes() const;

private:
    using Key = std::tuple<int, int, int>;
    struct Entry {
        Key key;
        QImage image;
    };
    mutable QMutex _mutex;
    std::list<Entry> _entries; // most recent first
    std::map<Key, std::list<Entry>::iterator> _index;
    qint64 _bytes = 0;
    qint64 _budget;
};

} // namespace KX::Tovrin
