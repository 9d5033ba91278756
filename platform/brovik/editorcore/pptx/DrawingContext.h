#pragma once

#include "platform/brovik/editorcore/pptx/OoxmlPackage.h"

#include <QColor>
#include <QDomElement>
#include <map>

namespace KX::Tovrin {

// The theme of a slide master: colour scheme, fonts and the style matrices shapes refer to.
struct Theme {
    std::map<QString, QColor> colors; // dk1, lt1, dk2, lt2, accent1..6, hlink, folHlink
    QString majorFont = QStringLiteral("Calibri Light");
    QString minorFont = QStringLiteral("Calibri");
    QDomElement fillStyles;   // a:fillStyleLst
    QDomElement lineStyles;   // a:lnStyleLst
    QDomElement bgFillStyles; // a:bgFillStyleLst
    QDomElement effectStyles; // a:effectStyleLst
    QString part;             // the theme part, whose relationships its picture fills use
};

// What a DrawingML element needs to resolve itself: the theme, the colour mapping in force, and
// the part whose relationships its references (pictures) point through.
struct DrawingContext {
    OoxmlPackage* package = nullptr;
    const Theme* theme = nullptr;
    std::map<QString, QString> colorMap; // bg1 -> lt1, tx1 -> dk1, ...
    QString part;
    int slideNumber = 1;
};

} // namespace KX::Tovrin
