#include "EditorCoreFixture.h"

#include <QBuffer>
#include <QFile>
#include <ostream>
#include <stdexcept>
#include <zip.h>

void PrintTo(const QColor& color, std::ostream* os) {
    *os << color.name(QColor::HexArgb).toStdString();
}

namespace KX::Tovrin::Test {

namespace {
const char* const Namespaces =
    "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
    "xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\" "
    "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\" "
    "xmlns:p14=\"http://schemas.microsoft.com/office/powerpoint/2010/main\"";
const std::string Rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

std::string relationships(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
           "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
           body + "</Relationships>";
}

std::string relationship(const std::string& id, const std::string& type, const std::string& target) {
    return "<Relationship Id=\"" + id + "\" Type=\"" + Rel + type + "\" Target=\"" + target + "\"/>";
}

std::string tree(const std::string& shapes) {
    return "<p:spTree><p:nvGrpSpPr><p:cNvPr id=\"1\" "
           "name=\"\"/><p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr><p:grpSpPr/>" +
           shapes + "</p:spTree>";
}

QByteArray bytes(const std::string& s) {
    return QByteArray::fromStdString(s);
}
} // namespace

void writeZip(const QString& path, const ZipEntries& entries) {
    int error = 0;
    zip_t* archive = zip_open(path.toUtf8().constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr)
        throw std::runtime_error("cannot create zip");
    std::vector<std::pair<std::string, QByteArray>> ordered;
    if (entries.count("mimetype"))
        ordered.emplace_back("mimetype", entries.at("mimetype"));
    for (const auto& [name, data] : entries)
        if (name != "mimetype")
            ordered.emplace_back(name, data);
    for (const auto& [name, data] : ordered) {
        // libzip reads the buffer when the archive is closed; keep a copy alive until then.
        void* copy = malloc(std::max<std::size_t>(1, std::size_t(data.size())));
        memcpy(copy, data.constData(), std::size_t(data.size()));
        zip_source_t* source = zip_source_buffer(archive, copy, zip_uint64_t(data.size()), 1);
        const zip_int64_t index =
            zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
        if (index < 0)
            throw std::runtime_error("cannot add zip entry");
        if (name == "mimetype")
            zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_STORE, 0);
    }
    if (zip_close(archive) != 0)
        throw std::runtime_error("cannot write zip");
}

ZipEntries pptxEntries(const PptxRecipe& deck) {
    ZipEntries e;
    const std::size_t slides = deck.slideShapes.size();
    std::string overrides;
    for (std::size_t i = 1; i <= slides; ++i)
        overrides +=
            "<Override PartName=\"/ppt/slides/slide" + std::to_string(i) +
            ".xml\" ContentType=\"application/vnd.openxmlformats-officedocument.presentationml.slide+xml\"/>";
    e["[Content_Types].xml"] =
        bytes("<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types "
              "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
              "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
              "<Default Extension=\"png\" ContentType=\"image/png\"/>"
              "<Override PartName=\"/ppt/presentation.xml\" "
              "ContentType=\"application/"
              "vnd.openxmlformats-officedocument.presentationml.presentation.main+xml\"/>" +
              overrides + "</Types>");
    e["_rels/.rels"] = bytes(relationships(relationship("rId1", "officeDocument", "ppt/presentation.xml")));
    std::string presentationRels = relationship("rIdM", "slideMaster", "slideMasters/slideMaster1.xml");
    std::string ids;
    for (std::size_t i = 1; i <= slides; ++i) {
        presentationRels +=
            relationship("rIdS" + std::to_string(i), "slide", "slides/slide" + std::to_string(i) + ".xml");
        ids += "<p:sldId id=\"" + std::to_string(255 + i) + "\" r:id=\"rIdS" + std::to_string(i) + "\"/>";
    }
    e["ppt/_rels/presentation.xml.rels"] = bytes(relationships(presentationRels));
    e["ppt/presentation.xml"] = bytes(
        std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><p:presentation ") + Namespaces +
        "><p:sldMasterIdLst><p:sldMasterId id=\"2147483648\" r:id=\"rIdM\"/></p:sldMasterIdLst><p:sldIdLst>" +
        ids + "</p:sldIdLst><p:sldSz cx=\"" + std::to_string(deck.widthEmu) + "\" cy=\"" +
        std::to_string(deck.heightEmu) +
        "\"/><p:notesSz cx=\"6858000\" cy=\"9144000\"/><p:defaultTextStyle><a:lvl1pPr><a:defRPr "
        "sz=\"1800\"><a:solidFill>"
        "<a:schemeClr val=\"tx1\"/></a:solidFill><a:latin typeface=\"+mn-lt\"/></a:defRPr></a:lvl1pPr>"
        "</p:defaultTextStyle></p:presentation>");
    e["ppt/theme/theme1.xml"] = bytes(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a:theme "
        "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" name=\"T\">"
        "<a:themeElements>"
        "<a:clrScheme name=\"C\"><a:dk1><a:srgbClr val=\"000000\"/></a:dk1><a:lt1><a:srgbClr "
        "val=\"FFFFFF\"/></a:lt1>"
        "<a:dk2><a:srgbClr val=\"1F497D\"/></a:dk2><a:lt2><a:srgbClr val=\"EEECE1\"/></a:lt2>"
        "<a:accent1><a:srgbClr val=\"" +
        deck.accent1 +
        "\"/></a:accent1>"
        "<a:accent2><a:srgbClr val=\"00FF00\"/></a:accent2><a:accent3><a:srgbClr val=\"0000FF\"/></a:accent3>"
        "<a:accent4><a:srgbClr val=\"FFFF00\"/></a:accent4><a:accent5><a:srgbClr val=\"00FFFF\"/></a:accent5>"
        "<a:accent6><a:srgbClr val=\"FF00FF\"/></a:accent6><a:hlink><a:srgbClr val=\"0000FF\"/></a:hlink>"
        "<a:folHlink><a:srgbClr val=\"800080\"/></a:folHlink></a:clrScheme>"
        "<a:fontScheme name=\"F\"><a:majorFont><a:latin typeface=\"DejaVu Sans\"/></a:majorFont>"
        "<a:minorFont><a:latin typeface=\"DejaVu Sans\"/></a:minorFont></a:fontScheme>"
        "<a:fmtScheme name=\"S\"><a:fillStyleLst><a:solidFill><a:schemeClr val=\"phClr\"/></a:solidFill>"
        "<a:solidFill><a:schemeClr val=\"phClr\"/></a:solidFill><a:solidFill><a:schemeClr "
        "val=\"phClr\"/></a:solidFill>"
        "</a:fillStyleLst><a:lnStyleLst><a:ln w=\"12700\"><a:solidFill><a:schemeClr "
        "val=\"phClr\"/></a:solidFill></a:ln>"
        "<a:ln w=\"25400\"><a:solidFill><a:schemeClr val=\"phClr\"/></a:solidFill></a:ln><a:ln "
        "w=\"38100\"><a:solidFill>"
        "<a:schemeClr val=\"phClr\"/></a:solidFill></a:ln></a:lnStyleLst><a:effectStyleLst/>"
        "<a:bgFillStyleLst>" +
        deck.bgFillStyles +
        "</a:bgFillStyleLst>"
        "</a:fmtScheme></a:themeElements></a:theme>");
    e["ppt/slideMasters/_rels/slideMaster1.xml.rels"] =
        bytes(relationships(relationship("rId1", "slideLayout", "../slideLayouts/slideLayout1.xml") +
                            relationship("rId2", "theme", "../theme/theme1.xml")));
    e["ppt/slideMasters/slideMaster1.xml"] = bytes(
        std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><p:sldMaster ") + Namespaces + "><p:cSld>" +
        deck.masterBackground + tree(deck.masterShapes) +
        "</p:cSld><p:clrMap bg1=\"lt1\" tx1=\"dk1\" bg2=\"lt2\" tx2=\"dk2\" accent1=\"accent1\" "
        "accent2=\"accent2\" "
        "accent3=\"accent3\" accent4=\"accent4\" accent5=\"accent5\" accent6=\"accent6\" hlink=\"hlink\" "
        "folHlink=\"folHlink\"/><p:sldLayoutIdLst><p:sldLayoutId id=\"2147483649\" "
        "r:id=\"rId1\"/></p:sldLayoutIdLst>"
        "<p:txStyles><p:titleStyle><a:lvl1pPr algn=\"l\"><a:defRPr sz=\"4400\"><a:solidFill><a:schemeClr "
        "val=\"tx1\"/>"
        "</a:solidFill><a:latin typeface=\"+mj-lt\"/></a:defRPr></a:lvl1pPr></p:titleStyle><p:bodyStyle>"
        "<a:lvl1pPr marL=\"342900\" indent=\"-342900\"><a:buChar char=\"&#8226;\"/><a:defRPr "
        "sz=\"3200\"/></a:lvl1pPr>"
        "</p:bodyStyle><p:otherStyle/></p:txStyles></p:sldMaster>");
    e["ppt/slideLayouts/_rels/slideLayout1.xml.rels"] =
        bytes(relationships(relationship("rId1", "slideMaster", "../slideMasters/slideMaster1.xml")));
    e["ppt/slideLayouts/slideLayout1.xml"] =
        bytes(std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><p:sldLayout ") + Namespaces +
              "><p:cSld>" + deck.layoutBackground + tree(deck.layoutShapes) + "</p:cSld></p:sldLayout>");
    for (std::size_t i = 0; i < slides; ++i) {
        const std::string n = std::to_string(i + 1);
        e["ppt/slides/_rels/slide" + n + ".xml.rels"] =
            bytes(relationships(relationship("rIdL", "slideLayout", "../slideLayouts/slideLayout1.xml") +
                                deck.slideRelationships));
        const std::string bg = i < deck.slideBackgrounds.size() ? deck.slideBackgrounds[i] : std::string();
        e["ppt/slides/slide" + n + ".xml"] =
            bytes(std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><p:sld ") + Namespaces + " " +
                  (i < deck.slideAttributes.size() ? deck.slideAttributes[i] : std::string()) + "><p:cSld>" +
                  bg + tree(deck.slideShapes[i]) + deck.slideTreeSiblings + "</p:cSld>" +
                  (i < deck.slideTails.size() ? deck.slideTails[i] : std::string()) + "</p:sld>");
    }
    for (const auto& [name, data] : deck.extraEntries)
        e[name] = data;
    return e;
}

ZipEntries odpEntries(const OdpRecipe& deck) {
    const std::string ns =
        "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
        "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
        "xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\" "
        "xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\" "
        "xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
        "xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\" "
        "xmlns:presentation=\"urn:oasis:names:tc:opendocument:xmlns:presentation:1.0\" "
        "xmlns:loext=\"urn:org:documentfoundation:names:experimental:office:xmlns:loext:1.0\" "
        "xmlns:smil=\"urn:oasis:names:tc:opendocument:xmlns:smil-compatible:1.0\" "
        "xmlns:anim=\"urn:oasis:names:tc:opendocument:xmlns:animation:1.0\" "
        "office:version=\"1.3\"";
    ZipEntries e;
    e["mimetype"] = "application/vnd.oasis.opendocument.presentation";
    e["META-INF/manifest.xml"] = bytes(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><manifest:manifest "
        "xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" manifest:version=\"1.3\">"
        "<manifest:file-entry manifest:full-path=\"/\" "
        "manifest:media-type=\"application/vnd.oasis.opendocument.presentation\"/></manifest:manifest>");
    e["styles.xml"] = bytes(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-styles " + ns + "><office:styles>" +
        "<style:default-style style:family=\"graphic\"><style:graphic-properties draw:fill=\"none\" "
        "draw:stroke=\"none\"/><style:text-properties fo:font-size=\"18pt\" fo:color=\"#000000\"/>"
        "</style:default-style>" +
        deck.stylesStyles +
        "</office:styles><office:automatic-styles><style:page-layout style:name=\"PM1\">"
        "<style:page-layout-properties fo:page-width=\"10in\" "
        "fo:page-height=\"7.5in\"/></style:page-layout>" +
        deck.masterStyles +
        "</office:automatic-styles><office:master-styles><style:master-page style:name=\"Default\" "
        "style:page-layout-name=\"PM1\"" +
        (deck.masterDrawStyle.empty() ? std::string() : " draw:style-name=\"" + deck.masterDrawStyle + "\"") +
        ">" + deck.masterShapes + "</style:master-page></office:master-styles></office:document-styles>");
    std::string pages;
    for (const std::string& p : deck.pages)
        pages += p;
    e["content.xml"] = bytes("<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-content " + ns +
                             "><office:automatic-styles>" + deck.contentStyles +
                             "</office:automatic-styles><office:body><office:presentation>" + pages +
                             "</office:presentation></office:body></office:document-content>");
    return e;
}

QByteArray pngBytes(const QImage& image) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return data;
}

void EditorCoreTest::SetUpTestSuite() {
    if (QGuiApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "editorcore_tests";
        static char* argv[] = {name, nullptr};
        new QGuiApplication(argc, argv); // lives for the whole test run
    }
}

QString EditorCoreTest::write(const QString& name, const ZipEntries& entries) {
    const QString path = _dir.filePath(name);
    writeZip(path, entries);
    return path;
}

QString EditorCoreTest::writeRaw(const QString& name, const QByteArray& bytes) {
    const QString path = _dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
    return path;
}

QImage EditorCoreTest::loadAndRender(const QString& path, int index) {
    _core.load(path);
    const QSizeF size = _core.slideSize();
    return _core.renderSlide(index, QSize(int(size.width()), int(size.height())));
}

int EditorCoreTest::pixelsDifferingFrom(const QImage& image, const QRect& rect, QColor colour) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (!near(image.pixelColor(x, y), colour, 40))
                ++count;
    return count;
}

bool EditorCoreTest::near(QColor a, QColor b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance && std::abs(a.alpha() - b.alpha()) <= tolerance;
}

} // namespace KX::Tovrin::Test
