#include "platform/brovik/editorcore/render/RenderCache.h"

namespace KX::Tovrin {

QImage RenderCache::find(int index, const QSize& size) {
    QMutexLocker lock(&_mutex);
    auto it = _index.find({index, size.width(), size.height()});
    if (it == _index.end())
        return {};
    _entries.splice(_entries.begin(), _entries, it->second);
    return it->second->image;
}

void RenderCache::insert(int index, const QSize& size, const QImage& image) {
    const qint64 cost = image.sizeInBytes();
    if (image.isNull() || cost > _budget)
        return;
    QMutexLocker lock(&_mutex);
    const Key key{index, size.width(), size.height()};
    auto existing = _index.find(key);
    if (existing != _index.end()) {
        _bytes -= existing->second->image.sizeInBytes();
        _entries.erase(existing->second);
        _index.erase(existing);
    }
    _entries.push_front({key, image});
    _index[key] = _entries.begin();
    _bytes += cost;
    while (_bytes > _budget && !_entries.empty()) {
        _bytes -= _entries.back().image.sizeInBytes();
        _index.erase(_entries.back().key);
        _entries.pop_back();
    }
}

void RenderCache::clear() {
    QMutexLocker lock(&_mutex);
    _entries.clear();
    _index.clear();
    _bytes = 0;
}

qint64 RenderCache::bytes() const {
    QMutexLocker lock(&_mutex);
    return _bytes;
}

} // namespace KX::Tovrin
