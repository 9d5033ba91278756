#pragma once

#include "platform/brovik/document/PresentationEditorCoreHolder.h"
#include "platform/brovik/printing/DocumentPrinter.h"

#include <QList>
#include <memory>

namespace KX::Brovik {

class MediaProvider;

// Prints a presentation one slide per page, each slide scaled into the page's printable area with
// its proportions kept and centred. Pages are oriented like the slides.
class PresentationPrinter : public DocumentPrinter {
public:
    PresentationPrinter(PresentationEditorCoreHolder holder, std::shared_ptr<MediaProvider> mediaProvider);

    int getPageCount() const override;
    bool print(QPrinter& printer) const override;

    // Zero-based indexes of the slides the printer's range asks for, in print order.
    QList<int> slidesToPrint(const QPrinter& printer) const;
    // Sets the page orientation to the slides' (landscape for wide slides).
    void applySlideOrientation(QPrinter& printer) const;

private:
    PresentationEditorCoreHolder _holder;
    std::shared_ptr<MediaProvider> _mediaProvider;
};

} // namespace KX::Brovik
