#pragma once

#include "platform/brovik/document/PresentationEditorCoreHolder.h"

#include <QImage>
#include <QRect>
#include <boost/optional.hpp>
#include <memory>

class QPainter;

namespace KX::Brovik {

class MediaProvider;

// What every widget that draws slides shares (slide view, filmstrip): the presentation, the
// background renderer and the drawing of one slide into a rectangle.
class SlideControlBase {
public:
    explicit SlideControlBase(PresentationEditorCoreHolder holder);
    virtual ~SlideControlBase();

    const PresentationEditorCoreHolder& getEditorCoreHolder() const { return _holder; }
    int getSlidesCount() const { return _holder.getSlidesCount(); }

    void setMediaProvider(std::shared_ptr<MediaProvider> provider);
    const std::shared_ptr<MediaProvider>& getMediaProvider() const { return _mediaProvider; }

    // With the cache on, rendered slides are kept by the presentation core and the slide after the
    // drawn one is rendered ahead in the background.
    void setCacheEnabled(bool enabled);
    bool isCacheEnabled() const { return _cacheEnabled; }

    // Draws slide `itemIndex` scaled into `rect` (device-independent pixels) with its proportions
    // kept and centred. Without an index, or with one out of range, nothing is drawn.
    virtual void render(QPainter& painter, const QRect& rect, boost::optional<int> itemIndex);

    // The largest rectangle of the slide's proportions centred in `rect`.
    QRect slideRectIn(const QRect& rect) const;

protected:
    void prerender(int index, const QSize& pixelSize) const;
    // The picture of slide `index` at `pixelSize`; a null image when it is not available (yet).
    // Renders on the calling thread unless a subclass knows better.
    virtual QImage slideImage(int index, const QSize& pixelSize);

private:
    PresentationEditorCoreHolder _holder;
    std::shared_ptr<MediaProvider> _mediaProvider;
    bool _cacheEnabled = false;
};

} // namespace KX::Brovik
