#include "platform/brovik/editorcore/model/PictureRecolor.h"

#include <QMutex>
#include <QMutexLocker>
#include <algorithm>
#include <deque>
#include <tuple>

namespace KX::Tovrin {

namespace {
QImage recolored(const QImage& source, const PictureRecolor& recolor) {
    QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const QRgb dark = recolor.dark.rgb(), light = recolor.light.rgb();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            const int lum = (qRed(p) * 77 + qGreen(p) * 150 + qBlue(p) * 29) >> 8;
            if (recolor.kind == PictureRecolor::Kind::Grayscale) {
                line[x] = qRgba(lum, lum, lum, qAlpha(p));
                continue;
            }
            auto mix = [lum](int a, int b) { return a + (b - a) * lum / 255; };
            line[x] = qRgba(mix(qRed(dark), qRed(light)), mix(qGreen(dark), qGreen(light)),
                            mix(qBlue(dark), qBlue(light)), qAlpha(p));
        }
    }
    return image;
}
} // namespace

QImage PictureRecolor::apply(const QImage& image) const {
    if (isNone() || image.isNull())
        return image;
    using Key = std::tuple<qint64, int, QRgb, QRgb>;
    static QMutex mutex;
    static std::deque<std::pair<Key, QImage>> recent;
    const Key key{image.cacheKey(), int(kind), dark.rgba(), light.rgba()};
    {
        QMutexLocker lock(&mutex);
        const auto it =
            std::find_if(recent.begin(), recent.end(), [&](const auto& e) { return e.first == key; });
        if (it != recent.end())
            return it->second;
    }
    QImage result = recolored(image, *this);
    QMutexLocker lock(&mutex);
    recent.emplace_front(key, result);
    if (recent.size() > 4)
        recent.pop_back();
    return result;
}

} // namespace KX::Tovrin
