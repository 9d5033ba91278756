#include "platform/brovik/editorcore/pptx/PptxImporter.h"

#include "platform/brovik/editorcore/model/DocumentLoadError.h"
#include "platform/brovik/editorcore/package/XmlPart.h"
#include "platform/brovik/editorcore/pptx/DrawingColor.h"
#include "platform/brovik/editorcore/pptx/DrawingFill.h"
#include "platform/brovik/editorcore/pptx/OoxmlNames.h"
#include "platform/brovik/editorcore/pptx/PptxShapeTree.h"
#include "platform/brovik/editorcore/pptx/PptxTransition.h"

#include <set>

namespace KX::Tovrin {

namespace {
constexpr double EmuPerPoint = 12700.0;
constexpr int MaxSlides = 5000;

QString mainPart(OoxmlPackage& package) {
    for (const auto& [id, rel] : package.relationships(QString()))
        if (rel.type == QLatin1String("officeDocument"))
            return rel.target;
    return {};
}

Theme readTheme(OoxmlPackage& package, const QString& part) {
    Theme theme;
    if (part.isEmpty())
        return theme;
    const QDomElement root = package.xml(part).documentElement();
    const QDomElement elements = firstChild(root, QStringLiteral("themeElements"));
    DrawingContext plain;
    plain.package = &package;
    plain.part = part;
    forEachChild(firstChild(elements, QStringLiteral("clrScheme")), [&](const QDomElement& c) {
        if (auto color = readColor(c, plain))
            theme.colors[c.localName()] = *color;
    });
    const QDomElement fonts = firstChild(elements, QStringLiteral("fontScheme"));
    const QString major = childPath(fonts, {QStringLiteral("majorFont"), QStringLiteral("latin")})
                              .attribute(QStringLiteral("typeface"));
    const QString minor = childPath(fonts, {QStringLiteral("minorFont"), QStringLiteral("latin")})
                              .attribute(QStringLiteral("typeface"));
    if (!major.isEmpty())
        theme.majorFont = major;
    if (!minor.isEmpty())
        theme.minorFont = minor;
    const QDomElement fmt = firstChild(elements, QStringLiteral("fmtScheme"));
    theme.fillStyles = firstChild(fmt, QStringLiteral("fillStyleLst"));
    theme.lineStyles = firstChild(fmt, QStringLiteral("lnStyleLst"));
    theme.bgFillStyles = firstChild(fmt, QStringLiteral("bgFillStyleLst"));
    theme.effectStyles = firstChild(fmt, QStringLiteral("effectStyleLst"));
    theme.part = part;
    return theme;
}

std::map<QString, QString> readColorMap(const QDomElement& clrMap,
                                        const std::map<QString, QString>& fallback) {
    if (clrMap.isNull())
        return fallback;
    std::map<QString, QString> map;
    const QDomNamedNodeMap attrs = clrMap.attributes();
    for (int i = 0; i < attrs.count(); ++i) {
        const QDomAttr a = attrs.item(i).toAttr();
        map[a.localName().isEmpty() ? a.name() : a.localName()] = a.value();
    }
    return map;
}

// A slide's or layout's own colour mapping, when it overrides its master's.
std::map<QString, QString> overriddenColorMap(const QDomElement& root,
                                              const std::map<QString, QString>& inherited) {
    const QDomElement over =
        childPath(root, {QStringLiteral("clrMapOvr"), QStringLiteral("overrideClrMapping")});
    return over.isNull() ? inherited : readColorMap(over, inherited);
}

std::optional<Fill> readBackground(const QDomElement& root, const DrawingContext& ctx) {
    const QDomElement bg = childPath(root, {QStringLiteral("cSld"), QStringLiteral("bg")});
    if (bg.isNull())
        return std::nullopt;
    const QDomElement bgPr = firstChild(bg, QStringLiteral("bgPr"));
    if (!bgPr.isNull())
        return readFill(bgPr, ctx);
    const QDomElement bgRef = firstChild(bg, QStringLiteral("bgRef"));
    if (!bgRef.isNull())
        return themeFill(int(attrInt(bgRef, QStringLiteral("idx"), 0)),
                         readColor(bgRef, ctx).value_or(QColor(Qt::white)), ctx);
    return std::nullopt;
}

struct MasterData {
    Theme theme;
    std::map<QString, QString> colorMap;
};

} // namespace

bool PptxImporter::recognizes(const ZipReader& zip) {
    if (!zip.contains(QStringLiteral("[Content_Types].xml")))
        return false;
    const QByteArray types = zip.tryRead(QStringLiteral("[Content_Types].xml"), 4 << 20);
    return types.contains("presentationml") || zip.contains(QStringLiteral("ppt/presentation.xml"));
}

std::shared_ptr<PresentationDocument> PptxImporter::import(const ZipReader& zip,
                                                           const LoadProgress& progress) {
    OoxmlPackage package(zip);
    QString presentationPart = mainPart(package);
    if (presentationPart.isEmpty() && zip.contains(QStringLiteral("ppt/presentation.xml")))
        presentationPart = QStringLiteral("ppt/presentation.xml");
    if (presentationPart.isEmpty() || !zip.contains(presentationPart))
        throw DocumentLoadError("The presentation is damaged: its main part (presentation.xml) is missing.");
    const QDomElement presentation = package.xml(presentationPart).documentElement();
    if (presentation.localName() != QLatin1String("presentation"))
        throw DocumentLoadError("The file is not a PowerPoint presentation.");

    auto document = std::make_shared<PresentationDocument>();
    const QDomElement sldSz = firstChild(presentation, QStringLiteral("sldSz"));
    const double cx = attrDouble(sldSz, QStringLiteral("cx"), 9144000) / EmuPerPoint;
    const double cy = attrDouble(sldSz, QStringLiteral("cy"), 6858000) / EmuPerPoint;
    // Sizes outside what the authoring programs allow mean a damaged file; use the default.
    document->slideSize =
        cx >= 1 && cy >= 1 && cx <= 20000 && cy <= 20000 ? QSizeF(cx, cy) : QSizeF(720, 540);
    const QDomElement defaultTextStyle = firstChild(presentation, QStringLiteral("defaultTextStyle"));

    QDomElement tableStyles;
    const QString tableStylesPart = package.targetOfType(presentationPart, QStringLiteral("tableStyles"));
    if (!tableStylesPart.isEmpty() && zip.contains(tableStylesPart)) {
        try {
            tableStyles = package.xml(tableStylesPart).documentElement();
        } catch (const DocumentLoadError&) {
            // Tables then use their explicit formatting only.
        }
    }

    std::map<QString, MasterData> masters;
    std::vector<QString> slideParts;
    forEachChild(firstChild(presentation, QStringLiteral("sldIdLst")), QStringLiteral("sldId"),
                 [&](const QDomElement& id) {
                     const QString part = package.target(
                         presentationPart, attrNS(id, Ooxml::Relationships, QStringLiteral("id")));
                     if (!part.isEmpty() && int(slideParts.size()) < MaxSlides && zip.contains(part))
                         slideParts.push_back(part);
                 });
    // Parts every slide shares stay parsed; a slide's own parts are dropped once it is read, so
    // the parsed XML held at any time does not grow with the number of slides.
    std::set<QString> shared{presentationPart, tableStylesPart};
    auto readSlide = [&](const QString& slidePart, int slideNumber) {
        const QDomElement slideRoot = package.xml(slidePart).documentElement();
        const QString layoutPart = package.targetOfType(slidePart, QStringLiteral("slideLayout"));
        QDomElement layoutRoot;
        QString masterPart;
        if (!layoutPart.isEmpty() && zip.contains(layoutPart)) {
            layoutRoot = package.xml(layoutPart).documentElement();
            masterPart = package.targetOfType(layoutPart, QStringLiteral("slideMaster"));
        }
        QDomElement masterRoot;
        if (!masterPart.isEmpty() && zip.contains(masterPart))
            masterRoot = package.xml(masterPart).documentElement();
        else
            masterPart.clear();

        auto master = masters.find(masterPart);
        if (master == masters.end()) {
            MasterData data;
            const QString themePart =
                masterPart.isEmpty() ? QString() : package.targetOfType(masterPart, QStringLiteral("theme"));
            if (!themePart.isEmpty() && zip.contains(themePart))
                data.theme = readTheme(package, themePart);
            data.colorMap =
                readColorMap(firstChild(masterRoot, QStringLiteral("clrMap")), {{"bg1", "lt1"},
                                                                                {"tx1", "dk1"},
                                                                                {"bg2", "lt2"},
                                                                                {"tx2", "dk2"},
                                                                                {"accent1", "accent1"},
                                                                                {"accent2", "accent2"},
                                                                                {"accent3", "accent3"},
                                                                                {"accent4", "accent4"},
                                                                                {"accent5", "accent5"},
                                                                                {"accent6", "accent6"},
                                                                                {"hlink", "hlink"},
                                                                                {"folHlink", "folHlink"}});
            master = masters.emplace(masterPart, std::move(data)).first;
        }

        SlideLayers layers;
        layers.master = {&package, &master->second.theme, master->second.colorMap, masterPart, slideNumber};
        layers.layout = {&package, &master->second.theme,
                         overriddenColorMap(layoutRoot, master->second.colorMap), layoutPart, slideNumber};
        layers.slide = {&package, &master->second.theme,
                        overriddenColorMap(slideRoot, layers.layout.colorMap), slidePart, slideNumber};
        layers.masterTree = childPath(masterRoot, {QStringLiteral("cSld"), QStringLiteral("spTree")});
        layers.layoutTree = childPath(layoutRoot, {QStringLiteral("cSld"), QStringLiteral("spTree")});
        layers.masterTextStyles = firstChild(masterRoot, QStringLiteral("txStyles"));
        layers.defaultTextStyle = defaultTextStyle;
        layers.tableStyles = tableStyles;

        Slide slide;
        std::optional<Fill> background = readBackground(slideRoot, layers.slide);
        if (!background)
            background = readBackground(layoutRoot, layers.layout);
        if (!background)
            background = readBackground(masterRoot, layers.master);
        slide.background = background.value_or(Fill::solid(schemeColor(QStringLiteral("bg1"), layers.slide)));

        const bool showMasterShapes = attrBool(slideRoot, QStringLiteral("showMasterSp"), true);
        if (showMasterShapes) {
            if (attrBool(layoutRoot, QStringLiteral("showMasterSp"), true))
                PptxShapeTree(layers, PptxShapeTree::Level::Master).read(layers.masterTree, slide.elements);
            PptxShapeTree(layers, PptxShapeTree::Level::Layout).read(layers.layoutTree, slide.elements);
        }
        PptxShapeTree(layers, PptxShapeTree::Level::Slide)
            .read(childPath(slideRoot, {QStringLiteral("cSld"), QStringLiteral("spTree")}), slide.elements);
        slide.transition = readPptxTransition(slideRoot);
        shared.insert({layoutPart, masterPart, master->second.theme.part});
        package.releaseXmlExcept(shared);
        return slide;
    };

    // Hidden slides are left out of a show, so the viewer leaves them out too (unless every
    // slide is hidden, where showing them beats showing nothing).
    // Slide number fields keep counting the hidden slides, as in the authoring program.
    std::vector<std::pair<QString, int>> hidden;
    const int total = int(slideParts.size());
    for (int i = 0; i < total; ++i) {
        const QString& part = slideParts[i];
        reportLoadProgress(progress, i, total);
        if (attrBool(package.xml(part).documentElement(), QStringLiteral("show"), true))
            document->slides.push_back(readSlide(part, i + 1));
        else
            hidden.emplace_back(part, i + 1);
        package.releaseXmlExcept(shared);
    }
    if (document->slides.empty())
        for (const auto& [part, number] : hidden)
            document->slides.push_back(readSlide(part, number));
    reportLoadProgress(progress, total, total);
    return document;
}

} // namespace KX::Tovrin
