#pragma once

#include "platform/brovik/slides/FilmstripLayout.h"
#include "platform/brovik/slides/SlideControlBase.h"

#include <QAbstractScrollArea>
#include <QCache>
#include <QColor>
#include <QImage>
#include <QSet>

namespace KX::Brovik {

// A scrollable column of slide thumbnails; a click makes a slide current. Thumbnails are rendered
// on the media provider's threads and kept, the least recently drawn dropped first past a byte
// budget, so scrolling and animating the column seldom waits for a slide to be drawn and a long
// deck does not keep a picture of every slide. Subclasses decorate each thumbnail by overriding
// `render`.
class Filmstrip : public QAbstractScrollArea, public SlideControlBase {
    Q_OBJECT
public:
    // The animated property of the column's position and size.
    static inline const QByteArray GeometryProperty = QByteArrayLiteral("geometry");

    struct FilmstripSettings {
        QColor itemColor;             // badge or background of ordinary items, for subclasses
        QColor hoveredItemFrameColor; // frame of the item under the mouse; none when invalid
        QColor currentItemColor;      // frame of the current item, and its badge for subclasses
        QColor reserved1;
        QColor reserved2;
        QColor reserved3;
        int frameWidth = 0; // extra frame width in pixels beyond the first
    };

    // `itemMargins` keep the slide of every item away from the item's edges; `mode` 0 is the only
    // mode: a vertical column.
    Filmstrip(PresentationEditorCoreHolder holder, const QMargins& itemMargins, int mode, QWidget* parent);
    ~Filmstrip() override;

    void setFilmstripSettings(const FilmstripSettings& settings);
    const FilmstripSettings& getFilmstripSettings() const { return _settings; }
    int getMode() const { return _mode; }
    const FilmstripLayout* getLayout() const { return &_layout; }

    int getCurrentIndex() const { return _currentIndex; }
    // Makes `index` current and scrolls it into view; emits currentIndexChanged when it changes.
    void setCurrentIndex(int index);

    // QWidget::render draws the widget; SlideControlBase::render draws a thumbnail.
    using QWidget::render;
    using SlideControlBase::render;

    // Item `index` in viewport coordinates.
    QRect itemRectInViewport(int index) const;
    // The item under viewport point `pos`, or -1.
    int indexAt(const QPoint& pos) const;
    // Whether the thumbnail of `index` has been rendered for the current column width.
    bool hasThumbnail(int index) const;
    int thumbnailCount() const { return _thumbnails.count(); }
    // Bytes of thumbnails kept at most (default 48 MB); lowering it drops the oldest at once.
    void setThumbnailBudget(qint64 bytes);

signals:
    void currentIndexChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    QImage slideImage(int index, const QSize& pixelSize) override;

private:
    void updateLayout();
    void thumbnailReady(int index, const QSize& pixelSize, const QImage& image);
    void keepThumbnail(int index, const QImage& image);

    FilmstripLayout _layout;
    int _mode;
    FilmstripSettings _settings;
    int _currentIndex = -1;
    int _hoveredIndex = -1;
    QCache<int, QImage> _thumbnails; // cost in bytes
    QSet<int> _pending;
};

} // namespace KX::Brovik
