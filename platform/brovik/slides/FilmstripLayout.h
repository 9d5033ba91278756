#pragma once

#include <QMargins>
#include <QRect>
#include <QSizeF>

namespace KX::Brovik {

// Where a filmstrip's thumbnails go: one column, each item as wide as the column, its slide scaled
// to the width left between the item margins and its height following the slide's proportions.
class FilmstripLayout {
public:
    explicit FilmstripLayout(const QMargins& itemMargins) : _itemMargins(itemMargins) {}

    const QMargins& getItemMargins() const { return _itemMargins; }

    // Column width and slide proportions; items are at least one pixel high.
    void update(int columnWidth, const QSizeF& slideSize, int itemCount);

    int getItemCount() const { return _itemCount; }
    int getItemHeight() const { return _itemHeight; }
    int getContentHeight() const { return _itemHeight * _itemCount; }
    // Item `index` in content coordinates (y grows down the column).
    QRect itemRect(int index) const;
    // The item at content height `y`, or -1.
    int indexAt(int y) const;

private:
    QMargins _itemMargins;
    int _columnWidth = 0;
    int _itemHeight = 1;
    int _itemCount = 0;
};

} // namespace KX::Brovik
