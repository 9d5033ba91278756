#pragma once

#include <QPrintDialog>

namespace KX::Brovik {

class PresentationPrinter;

// The print dialog for a presentation: page ranges refer to slide numbers; the pages follow the
// slides' orientation unless the user changes it.
class PresentationPrintDialog : public QPrintDialog {
    Q_OBJECT
public:
    PresentationPrintDialog(QPrinter* printer, const PresentationPrinter& documentPrinter, QWidget* parent);

    const PresentationPrinter& documentPrinter() const { return _documentPrinter; }

private:
    const PresentationPrinter& _documentPrinter;
};

} // namespace KX::Brovik
