#pragma once

class QPrinter;

namespace KX::Brovik {

// Prints one document onto a configured printer (a real printer or a PDF file).
class DocumentPrinter {
public:
    virtual ~DocumentPrinter() = default;
    // Number of printable pages; print ranges of the printer refer to 1..getPageCount().
    virtual int getPageCount() const = 0;
    // Returns false when the printer could not be started or a page could not be begun.
    virtual bool print(QPrinter& printer) const = 0;
};

} // namespace KX::Brovik
