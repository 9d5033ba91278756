#include "platform/brovik/editorcore/notes/SpeakerNotes.h"
#include "platform/brovik/editorcore/odp/OdfNames.h"
#include "platform/brovik/editorcore/package/XmlPart.h"
#include "platform/brovik/editorcore/package/ZipReader.h"

#include <QStringList>

namespace KX::Tovrin {

namespace {

// As many pages as the importer takes.
constexpr int MaxSlides = 5000;

// Paragraphs and headings anywhere below `parent` (lists nest them), in document order.
void collectParagraphs(const QDomElement& parent, QStringList* paragraphs) {
    forEachChild(parent, [&](const QDomElement& child) {
        if (child.localName() == QLatin1String("p") || child.localName() == QLatin1String("h")) {
            *paragraphs << child.text();
        } else {
            collectParagraphs(child, paragraphs);
        }
    });
}

QString notesText(const QDomElement& page) {
    QStringList paragraphs;
    forEachChild(firstChild(page, QStringLiteral("notes")), QStringLiteral("frame"),
                 [&](const QDomElement& frame) {
                     if (Odf::attr(frame, Odf::Presentation, "class") == QLatin1String("notes")) {
                         collectParagraphs(firstChild(frame, QStringLiteral("text-box")), &paragraphs);
                     }
                 });
    return paragraphs.join(QLatin1Char('\n'));
}

} // namespace

std::vector<QString> readOdpNotes(const ZipReader& zip) {
    const QDomDocument content =
        parseXmlPart(zip.read(QStringLiteral("content.xml")), QStringLiteral("content.xml"));
    const QDomElement presentation =
        childPath(content.documentElement(), {QStringLiteral("body"), QStringLiteral("presentation")});
    std::vector<QString> all;
    std::vector<QString> shown;
    forEachChild(presentation, QStringLiteral("page"), [&](const QDomElement& page) {
        if (int(all.size()) >= MaxSlides) {
            return;
        }
        all.push_back(notesText(page));
        if (Odf::attr(page, Odf::Presentation, "visibility") != QLatin1String("hidden")) {
            shown.push_back(all.back());
        }
    });
    return shown.empty() ? all : shown;
}

} // namespace KX::Tovrin
