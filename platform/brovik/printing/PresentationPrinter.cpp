#include "platform/brovik/printing/PresentationPrinter.h"

#include <QPainter>
#include <QPrinter>

namespace KX::Brovik {

PresentationPrinter::PresentationPrinter(PresentationEditorCoreHolder holder,
                                         std::shared_ptr<MediaProvider> mediaProvider)
    : _holder(std::move(holder)), _mediaProvider(std::move(mediaProvider)) {}

int PresentationPrinter::getPageCount() const {
    return _holder.getSlidesCount();
}

QList<int> PresentationPrinter::slidesToPrint(const QPrinter& printer) const {
    const int count = getPageCount();
    int first = 1;
    int last = count;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(1, printer.fromPage());
        last = std::min(count, printer.toPage() > 0 ? printer.toPage() : count);
    }
    QList<int> slides;
    for (int page = first; page <= last; ++page) {
        slides.append(page - 1);
    }
    if (printer.pageOrder() == QPrinter::LastPageFirst) {
        std::reverse(slides.begin(), slides.end());
    }
    return slides;
}

void PresentationPrinter::applySlideOrientation(QPrinter& printer) const {
    const Tovrin::PresentationViewerEditorCore* core = _holder.viewerCore();
    if (!core || !core->isLoaded()) {
        return;
    }
    const QSizeF size = core->slideSize();
    printer.setPageOrientation(size.width() >= size.height() ? QPageLayout::Landscape
                                                             : QPageLayout::Portrait);
}

bool PresentationPrinter::print(QPrinter& printer) const {
    const Tovrin::PresentationViewerEditorCore* core = _holder.viewerCore();
    const QList<int> slides = slidesToPrint(printer);
    if (!core || slides.isEmpty()) {
        return false;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    bool firstPage = true;
    for (int index : slides) {
        if (!firstPage && !printer.newPage()) {
            return false;
        }
        firstPage = false;
        const QRectF page(QPointF(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
        painter.save();
        core->renderSlide(index, painter, page);
        painter.restore();
    }
    return painter.end();
}

} // namespace KX::Brovik
