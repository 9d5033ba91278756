#include "platform/brovik/editorcore/model/DecodedPictureCache.h"

namespace KX::Tovrin {

DecodedPictureCache::DecodedPictureCache(qint64 budgetBytes, int maxPictures)
    : _budget(budgetBytes), _maxPictures(maxPictures) {}

DecodedPictureCache& DecodedPictureCache::shared() {
    // Never destroyed: pictures held by objects with static lifetime may outlive any static here.
    static auto* cache = new DecodedPictureCache;
    return *cache;
}

QImage DecodedPictureCache::find(quint64 id) {
    QMutexLocker lock(&_mutex);
    const auto it = _index.find(id);
    if (it == _index.end())
        return {};
    _entries.splice(_entries.begin(), _entries, it->second);
    return it->second->image;
}

void DecodedPictureCache::insert(quint64 id, const QImage& image) {
    if (image.isNull() || image.sizeInBytes() > _budget || _maxPictures <= 0)
        return;
    QMutexLocker lock(&_mutex);
    if (const auto it = _index.find(id); it != _index.end()) {
        _bytes -= it->second->image.sizeInBytes();
        _entries.erase(it->second);
        _index.erase(it);
    }
    _entries.push_front({id, image});
    _index[id] = _entries.begin();
    _bytes += image.sizeInBytes();
    evict();
}

void DecodedPictureCache::evict() {
    while (!_entries.empty() && (_bytes > _budget || int(_entries.size()) > _maxPictures)) {
        _bytes -= _entries.back().image.sizeInBytes();
        _index.erase(_entries.back().id);
        _entries.pop_back();
    }
}

void DecodedPictureCache::remove(quint64 id) {
    QMutexLocker lock(&_mutex);
    const auto it = _index.find(id);
    if (it == _index.end())
        return;
    _bytes -= it->second->image.sizeInBytes();
    _entries.erase(it->second);
    _index.erase(it);
}

void DecodedPictureCache::clear() {
    QMutexLocker lock(&_mutex);
    _entries.clear();
    _index.clear();
    _bytes = 0;
}

int DecodedPictureCache::count() const {
    QMutexLocker lock(&_mutex);
    return int(_entries.size());
}

qint64 DecodedPictureCache::bytes() const {
    QMutexLocker lock(&_mutex);
    return _bytes;
}

} // namespace KX::Tovrin
