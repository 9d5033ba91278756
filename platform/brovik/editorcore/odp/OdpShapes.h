#pragma once

#include "platform/brovik/editorcore/model/SlideElement.h"
#include "platform/brovik/editorcore/odp/OdpStyles.h"
#include "platform/brovik/editorcore/odp/OdpText.h"

#include <optional>

namespace KX::Tovrin {

// Turns the drawing elements of a page or master page into model elements.
class OdpShapeReader {
public:
    // Which master page objects show on a slide.
    struct MasterOptions {
        bool isMaster = false;
        bool showFooter = false;
        bool showPageNumber = false;
        bool showDateTime = false;
    };

    OdpShapeReader(const OdpStyles& styles, OdfFields fields, MasterOptions options);

    void read(const QDomElement& page, std::vector<SlideElement>& out) const;

private:
    void readChildren(const QDomElement& parent, std::vector<SlideElement>& out, int depth) const;
    bool readElement(const QDomElement& e, SlideElement& out, int depth) const;
    bool readFrame(const QDomElement& frame, SlideElement& out) const;
    bool readDrawingShape(const QDomElement& e, SlideElement& out) const;
    bool readTable(const QDomElement& table, const ElementFrame& frame, SlideElement& out) const;
    bool readScene(const QDomElement& scene, SlideElement& out) const;
    // A table cell; templateStyle is the cell style the table's template gives its place.
    void readCell(const QDomElement& c, const QDomElement& row, const QString& templateStyle, int columnsLeft,
                  TableCell& cell) const;
    OdfStyleChain shapeStyle(const QDomElement& e) const;
    // The shadow drawn under an element whose style asks for one.
    std::optional<SlideElement> shadowOf(const QDomElement& e, const SlideElement& element) const;
    bool skipPlaceholder(const QDomElement& e) const;

    const OdpStyles& _styles;
    OdfFields _fields;
    MasterOptions _options;
};

} // namespace KX::Tovrin
