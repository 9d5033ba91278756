#include "PptxFixture.h"

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <zip.h>

namespace KX::Testing {

namespace {

constexpr long long EmuPerPoint = 12700;

void add(zip_t* archive, const std::string& name, const std::string& content) {
    // libzip reads the buffer when the archive is closed, so each entry keeps its own copy.
    auto* copy = static_cast<char*>(std::malloc(content.size()));
    std::memcpy(copy, content.data(), content.size());
    zip_source_t* source = zip_source_buffer(archive, copy, content.size(), 1);
    if (!source || zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE) < 0) {
        zip_source_free(source);
        throw std::runtime_error("cannot add " + name);
    }
}

std::string hex(const QColor& colour) {
    return colour.name().mid(1).toUpper().toStdString();
}

} // namespace

void writePptx(const QString& path, const std::vector<QColor>& slideColours, double widthPt, double heightPt,
               const std::vector<std::string>& slideTails) {
    int error = 0;
    zip_t* archive = zip_open(path.toLocal8Bit().constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive) {
        throw std::runtime_error("cannot create " + path.toStdString());
    }
    const std::string ns = R"(xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" )"
                           R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships" )"
                           R"(xmlns:p="http://schemas.openxmlformats.org/presentationml/2006/main")";
    std::string types =
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
        R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
        R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
        R"(<Default Extension="xml" ContentType="application/xml"/>)"
        R"(<Override PartName="/ppt/presentation.xml" ContentType="application/vnd.openxmlformats-officedocument.presentationml.presentation.main+xml"/>)";
    std::string presentationRels =
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)";
    std::string slideIds;
    for (std::size_t i = 0; i < slideColours.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        types +=
            R"(<Override PartName="/ppt/slides/slide)" + n +
            R"(.xml" ContentType="application/vnd.openxmlformats-officedocument.presentationml.slide+xml"/>)";
        presentationRels +=
            R"(<Relationship Id="rId)" + n +
            R"(" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/slide" Target="slides/slide)" +
            n + R"(.xml"/>)";
        slideIds += R"(<p:sldId id=")" + std::to_string(256 + i) + R"(" r:id="rId)" + n + R"("/>)";
        const std::string colour = hex(slideColours[i]);
        add(archive, "ppt/slides/slide" + n + ".xml",
            R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?><p:sld )" + ns +
                R"(><p:cSld><p:bg><p:bgPr><a:solidFill><a:srgbClr val=")" + colour +
                R"("/></a:solidFill><a:effectLst/></p:bgPr></p:bg><p:spTree><p:nvGrpSpPr><p:cNvPr id="1" name=""/>)"
                R"(<p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr><p:grpSpPr/></p:spTree></p:cSld>)" +
                (i < slideTails.size() ? slideTails[i] : std::string()) + "</p:sld>");
    }
    types += "</Types>";
    presentationRels += "</Relationships>";
    add(archive, "[Content_Types].xml", types);
    add(archive, "_rels/.rels",
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
        R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="ppt/presentation.xml"/>)"
        R"(</Relationships>)");
    add(archive, "ppt/_rels/presentation.xml.rels", presentationRels);
    add(archive, "ppt/presentation.xml",
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?><p:presentation )" + ns +
            R"(><p:sldIdLst>)" + slideIds + R"(</p:sldIdLst><p:sldSz cx=")" +
            std::to_string(static_cast<long long>(widthPt * EmuPerPoint)) + R"(" cy=")" +
            std::to_string(static_cast<long long>(heightPt * EmuPerPoint)) +
            R"("/><p:notesSz cx="6858000" cy="9144000"/></p:presentation>)");
    if (zip_close(archive) < 0) {
        zip_discard(archive);
        throw std::runtime_error("cannot write " + path.toStdString());
    }
}

} // namespace KX::Testing
