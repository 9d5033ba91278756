#pragma once

#include <QString>
#include <memory>

class QPrintDialog;
class QPrinter;

namespace KX::Brovik {

class DocumentPrinter;

// How an editor window prints: the framework asks it for the document printer and for the dialog
// that configures the printer, and prints when the dialog is accepted.
class PrintingDelegate {
public:
    virtual ~PrintingDelegate() = default;
    // The job name shown by the printing system.
    virtual QString getDocumentPrinterName() const = 0;
    virtual std::unique_ptr<DocumentPrinter> createDocumentPrinter() = 0;
    virtual std::unique_ptr<QPrintDialog> createPrintDialog(QPrinter* printer,
                                                            DocumentPrinter* documentPrinter) = 0;
};

} // namespace KX::Brovik
