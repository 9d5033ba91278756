#include "platform/brovik/editorcore/notes/SpeakerNotes.h"
#include "platform/brovik/editorcore/package/XmlPart.h"
#include "platform/brovik/editorcore/package/ZipReader.h"
#include "platform/brovik/editorcore/pptx/OoxmlNames.h"
#include "platform/brovik/editorcore/pptx/OoxmlPackage.h"

#include <QStringList>

namespace KX::Tovrin {

namespace {

// As many slides as the importer takes.
constexpr int MaxSlides = 5000;

QString mainPart(OoxmlPackage& package) {
    for (const auto& [id, rel] : package.relationships(QString())) {
        if (rel.type == QLatin1String("officeDocument")) {
            return rel.target;
        }
    }
    return QStringLiteral("ppt/presentation.xml");
}

// The slides a show presents: hidden ones left out, unless every slide is hidden.
std::vector<QString> shownSlides(OoxmlPackage& package, const QString& presentationPart) {
    std::vector<QString> all;
    std::vector<QString> shown;
    const QDomElement presentation = package.xml(presentationPart).documentElement();
    forEachChild(firstChild(presentation, QStringLiteral("sldIdLst")), QStringLiteral("sldId"),
                 [&](const QDomElement& id) {
                     const QString part = package.target(
                         presentationPart, attrNS(id, Ooxml::Relationships, QStringLiteral("id")));
                     if (part.isEmpty() || int(all.size()) >= MaxSlides || !package.zip().contains(part)) {
                         return;
                     }
                     all.push_back(part);
                     if (attrBool(package.xml(part).documentElement(), QStringLiteral("show"), true)) {
                         shown.push_back(part);
                     }
                     // Only the presentation part is needed again.
                     package.releaseXmlExcept({presentationPart});
                 });
    return shown.empty() ? all : shown;
}

QString paragraphText(const QDomElement& paragraph) {
    QString text;
    forEachChild(paragraph, [&](const QDomElement& child) {
        if (child.localName() == QLatin1String("br")) {
            text += QLatin1Char('\n');
        } else if (child.localName() == QLatin1String("r") || child.localName() == QLatin1String("fld")) {
            text += firstChild(child, QStringLiteral("t")).text();
        }
    });
    return text;
}

QString notesText(OoxmlPackage& package, const QString& notesPart) {
    QStringList paragraphs;
    const QDomElement tree = childPath(package.xml(notesPart).documentElement(),
                                       {QStringLiteral("cSld"), QStringLiteral("spTree")});
    forEachChild(tree, QStringLiteral("sp"), [&](const QDomElement& shape) {
        const QDomElement placeholder =
            childPath(shape, {QStringLiteral("nvSpPr"), QStringLiteral("nvPr"), QStringLiteral("ph")});
        if (placeholder.attribute(QStringLiteral("type")) != QLatin1String("body")) {
            return;
        }
        forEachChild(firstChild(shape, QStringLiteral("txBody")), QStringLiteral("p"),
                     [&](const QDomElement& paragraph) { paragraphs << paragraphText(paragraph); });
    });
    while (!paragraphs.isEmpty() && paragraphs.constLast().isEmpty()) {
        paragraphs.removeLast();
    }
    return paragraphs.join(QLatin1Char('\n'));
}

} // namespace

std::vector<QString> readPptxNotes(const ZipReader& zip) {
    OoxmlPackage package(zip);
    std::vector<QString> notes;
    for (const QString& slidePart : shownSlides(package, mainPart(package))) {
        const QString notesPart = package.targetOfType(slidePart, QStringLiteral("notesSlide"));
        notes.push_back(notesPart.isEmpty() || !zip.contains(notesPart) ? QString()
                                                                        : notesText(package, notesPart));
        package.releaseXmlExcept({});
    }
    return notes;
}

} // namespace KX::Tovrin
