#pragma once

#include "platform/brovik/editorcore/model/DocumentLoadError.h"
#include "platform/brovik/editorcore/model/LoadProgress.h"
#include "platform/brovik/editorcore/model/SlideTransition.h"

#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <memory>
#include <stdexcept>

namespace KX::Tovrin {

struct PresentationDocument;
class SlideRenderCache;

// Loads a PPTX or ODP presentation and renders its slides. The loaded document is immutable, so
// rendering may happen on worker threads while the GUI thread asks for other slides.
class PresentationViewerEditorCore {
public:
    PresentationViewerEditorCore();
    ~PresentationViewerEditorCore();
    PresentationViewerEditorCore(const PresentationViewerEditorCore&) = delete;
    PresentationViewerEditorCore& operator=(const PresentationViewerEditorCore&) = delete;

    // PPTX or ODP, recognised by content. Throws DocumentLoadError for damaged or unsupported files;
    // a failed load leaves the previously loaded document in place. `progress` hears of every
    // slide read, on the calling thread, and may cancel (DocumentLoadCancelled).
    void load(const QString& path, const LoadProgress& progress = {});
    bool isLoaded() const;
    QString filePath() const;
    int getSlidesCount() const;
    // Slide size in points (1/72 inch).
    QSizeF slideSize() const;
    // How slide `index` comes in during a show; a cut for an index out of range.
    SlideTransition slideTransition(int index) const;

    // Raster render at the given pixel size: aspect kept, letterboxed on transparent. Results are
    // cached (LRU, bounded memory). Safe to call from worker threads. An index out of range or an
    // empty size gives a null image, as does a size over 16384 pixels a side or 64 million in all.
    QImage renderSlide(int index, const QSize& size) const;
    // Vector render into any painter (printing, PDF), the slide scaled into target with aspect kept.
    void renderSlide(int index, QPainter& painter, const QRectF& target) const;
    void setCacheEnabled(bool enabled);

private:
    std::shared_ptr<const PresentationDocument> document() const;

    struct State;
    std::unique_ptr<State> _state;
};

} // namespace KX::Tovrin
