#include "platform/brovik/editorcore/odp/OdpImporter.h"

#include "platform/brovik/editorcore/model/DocumentLoadError.h"
#include "platform/brovik/editorcore/odp/OdfNames.h"
#include "platform/brovik/editorcore/odp/OdpShapes.h"
#include "platform/brovik/editorcore/odp/OdpStyles.h"
#include "platform/brovik/editorcore/odp/OdpTransition.h"
#include "platform/brovik/editorcore/package/XmlPart.h"

#include <QHash>

namespace KX::Tovrin {

namespace {
using namespace Odf;
constexpr int MaxSlides = 5000;

QSizeF pageSize(const OdpStyles& styles, const QDomElement& master) {
    const QDomElement layout = styles.pageLayout(attr(master, Style, "page-layout-name"));
    const QDomElement props = firstChild(layout, QStringLiteral("page-layout-properties"));
    const double w = length(attr(props, Fo, "page-width"), 0);
    const double h = length(attr(props, Fo, "page-height"), 0);
    if (w >= 1 && h >= 1 && w <= 20000 && h <= 20000)
        return {w, h};
    return {792, 612}; // 28 cm x 21 cm is the usual default; letter-sized 4:3 is close enough
}

// Text of the footer and date declarations a page refers to.
QHash<QString, QString> declarations(const QDomElement& presentation, const char* element) {
    QHash<QString, QString> out;
    forEachChild(presentation, QString::fromLatin1(element),
                 [&](const QDomElement& d) { out.insert(attr(d, Presentation, "name"), d.text()); });
    return out;
}

bool flag(const OdfStyleChain& chain, const char* name, bool fallback) {
    const QString v = chain.property("drawing-page-properties", Presentation, name);
    return v.isEmpty() ? fallback : v == QLatin1String("true");
}
} // namespace

bool OdpImporter::recognizes(const ZipReader& zip) {
    const QByteArray mimetype = zip.tryRead(QStringLiteral("mimetype"), 256).trimmed();
    if (!mimetype.isEmpty())
        return mimetype.startsWith("application/vnd.oasis.opendocument.presentation");
    // Packages written without the mimetype entry: look at the manifest.
    const QByteArray manifest = zip.tryRead(QStringLiteral("META-INF/manifest.xml"), 4 << 20);
    return manifest.contains("application/vnd.oasis.opendocument.presentation");
}

std::shared_ptr<PresentationDocument> OdpImporter::import(const ZipReader& zip,
                                                          const LoadProgress& progress) {
    if (!zip.contains(QStringLiteral("content.xml")))
        throw DocumentLoadError("The presentation is damaged: its content (content.xml) is missing.");
    const QDomDocument content =
        parseXmlPart(zip.read(QStringLiteral("content.xml")), QStringLiteral("content.xml"));
    QDomDocument stylesDoc;
    if (zip.contains(QStringLiteral("styles.xml")))
        stylesDoc = parseXmlPart(zip.read(QStringLiteral("styles.xml")), QStringLiteral("styles.xml"));
    const QDomElement presentation =
        childPath(content.documentElement(), {QStringLiteral("body"), QStringLiteral("presentation")});
    if (presentation.isNull())
        throw DocumentLoadError("The file is not an OpenDocument presentation: it has no presentation body.");
    const OdpStyles styles(zip, content, stylesDoc);
    const OdpStyles masterStyles = styles.forMasterPages();
    const QHash<QString, QString> footers = declarations(presentation, "footer-decl");
    const QHash<QString, QString> dates = declarations(presentation, "date-time-decl");

    // Hidden pages are left out of a show, so the viewer leaves them out too (unless every page
    // is hidden, where showing them beats showing nothing).
    std::vector<QDomElement> pages;
    std::vector<QDomElement> visible;
    forEachChild(presentation, QStringLiteral("page"), [&](const QDomElement& page) {
        if (int(pages.size()) >= MaxSlides)
            return;
        pages.push_back(page);
        if (attr(page, Presentation, "visibility") != QLatin1String("hidden"))
            visible.push_back(page);
    });
    if (!visible.empty())
        pages = std::move(visible);

    auto document = std::make_shared<PresentationDocument>();
    bool sized = false;
    int number = 0;
    const int total = int(pages.size());
    for (const QDomElement& page : pages) {
        reportLoadProgress(progress, number, total);
        ++number;
        QDomElement master = styles.masterPage(attr(page, Draw, "master-page-name"));
        if (master.isNull())
            master = styles.firstMasterPage();
        if (!sized) {
            document->slideSize = pageSize(styles, master);
            sized = true;
        }
        const OdfStyleChain pageStyle =
            styles.chain(QStringLiteral("drawing-page"), attr(page, Draw, "style-name"));
        const OdfStyleChain masterStyle =
            masterStyles.chain(QStringLiteral("drawing-page"), attr(master, Draw, "style-name"));

        Slide slide;
        std::optional<Fill> background;
        if (flag(pageStyle, "background-visible", true)) {
            background = styles.fill(pageStyle, "drawing-page-properties");
            if (!background || background->kind == Fill::Kind::None)
                background = styles.fill(masterStyle, "drawing-page-properties");
        }
        slide.background = background.value_or(Fill::solid(Qt::white));

        OdfFields fields;
        fields.slideNumber = number;
        fields.footer = footers.value(attr(page, Presentation, "use-footer-name"));
        fields.dateTime = dates.value(attr(page, Presentation, "use-date-time-name"));
        if (flag(pageStyle, "background-objects-visible", true)) {
            OdpShapeReader::MasterOptions options;
            options.isMaster = true;
            options.showFooter = flag(pageStyle, "display-footer", true);
            options.showPageNumber = flag(pageStyle, "display-page-number", false);
            options.showDateTime = flag(pageStyle, "display-date-time", true);
            OdpShapeReader(masterStyles, fields, options).read(master, slide.elements);
        }
        OdpShapeReader(styles, fields, {}).read(page, slide.elements);
        slide.transition = readOdpTransition(pageStyle, page);
        document->slides.push_back(std::move(slide));
    }
    reportLoadProgress(progress, total, total);
    if (!sized)
        document->slideSize = pageSize(styles, styles.firstMasterPage());
    return document;
}

} // namespace KX::Tovrin
