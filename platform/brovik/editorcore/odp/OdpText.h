#pragma once

#include "platform/brovik/editorcore/model/TextBody.h"
#include "platform/brovik/editorcore/odp/OdpStyles.h"

namespace KX::Tovrin {

// Values of the fields a slide's text can show.
struct OdfFields {
    int slideNumber = 1;
    QString footer;
    QString dateTime;
};

// Builds a text body from the paragraphs and lists inside container (a draw:text-box, a shape or
// a table cell). shapeStyle supplies the defaults the paragraphs inherit and the outline list
// style of presentation placeholders; textStyleName (the shape's draw:text-style-name) names a
// paragraph style whose text and paragraph properties rank below the shape's presentation
// styles and above its graphic styles.
TextBody readOdfText(const QDomElement& container, const OdfStyleChain& shapeStyle, const OdpStyles& styles,
                     const OdfFields& fields, const QString& textStyleName = {});

// Insets, anchoring, wrapping and shrink-to-fit from a shape's graphic properties.
void applyOdfBodyProperties(TextBody& body, const OdfStyleChain& shapeStyle);

} // namespace KX::Tovrin
