#include "platform/brovik/slides/FilmstripLayout.h"

#include <algorithm>
#include <cmath>

namespace KX::Brovik {

void FilmstripLayout::update(int columnWidth, const QSizeF& slideSize, int itemCount) {
    _columnWidth = std::max(0, columnWidth);
    _itemCount = std::max(0, itemCount);
    const int slideWidth = std::max(1, _columnWidth - _itemMargins.left() - _itemMargins.right());
    const qreal ratio = slideSize.isEmpty() ? 0.75 : slideSize.height() / slideSize.width();
    const int slideHeight = std::max(1, static_cast<int>(std::lround(slideWidth * ratio)));
    _itemHeight = slideHeight + _itemMargins.top() + _itemMargins.bottom();
}

QRect FilmstripLayout::itemRect(int index) const {
    if (index < 0 || index >= _itemCount) {
        return QRect();
    }
    return QRect(0, index * _itemHeight, _columnWidth, _itemHeight);
}

int FilmstripLayout::indexAt(int y) const {
    if (y < 0 || _itemHeight <= 0) {
        return -1;
    }
    const int index = y / _itemHeight;
    return index < _itemCount ? index : -1;
}

} // namespace KX::Brovik
