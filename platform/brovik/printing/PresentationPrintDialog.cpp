#include "platform/brovik/printing/PresentationPrintDialog.h"

#include "platform/brovik/printing/PresentationPrinter.h"

#include <QPrinter>

namespace KX::Brovik {

PresentationPrintDialog::PresentationPrintDialog(QPrinter* printer,
                                                 const PresentationPrinter& documentPrinter, QWidget* parent)
    : QPrintDialog(printer, parent), _documentPrinter(documentPrinter) {
    _documentPrinter.applySlideOrientation(*printer);
    const int slides = std::max(1, _documentPrinter.getPageCount());
    setMinMax(1, slides);
    printer->setFromTo(1, slides);
    setOption(QAbstractPrintDialog::PrintPageRange, true);
    setOption(QAbstractPrintDialog::PrintToFile, true);
    setOption(QAbstractPrintDialog::PrintSelection, false);
    setOption(QAbstractPrintDialog::PrintCurrentPage, false);
}

} // namespace KX::Brovik
