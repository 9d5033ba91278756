#pragma once

#include "platform/brovik/editorcore/PresentationViewerEditorCore.h"

#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>

namespace KX::Tovrin::Test {

// Entries of a zip archive by name.
using ZipEntries = std::map<std::string, QByteArray>;

// Writes the entries as a zip archive with libzip (stored "mimetype" first when present).
void writeZip(const QString& path, const ZipEntries& entries);

// A minimal PowerPoint package: one theme, one master, one layout and the given slides. The
// strings are the inner XML of the parts' shape trees and backgrounds.
struct PptxRecipe {
    std::string masterBackground =
        "<p:bg><p:bgPr><a:solidFill><a:srgbClr val=\"FFFFFF\"/></a:solidFill></p:bgPr></p:bg>";
    std::string masterShapes;
    std::string layoutBackground;
    std::string layoutShapes;
    std::vector<std::string> slideBackgrounds; // per slide, may be empty strings
    std::vector<std::string> slideShapes;      // per slide
    std::vector<std::string> slideAttributes;  // per slide, attributes of p:sld
    std::string accent1 = "FF0000";
    ZipEntries extraEntries;             // e.g. ppt/media/image1.png
    std::string slideRelationships;      // extra <Relationship> elements for every slide
    std::string slideTreeSiblings;       // elements after every slide's shape tree (e.g. p:controls)
    std::vector<std::string> slideTails; // per slide, elements after p:cSld (e.g. p:transition)
    std::string bgFillStyles =           // the theme's a:bgFillStyleLst content
        "<a:solidFill><a:schemeClr val=\"phClr\"/></a:solidFill><a:solidFill><a:schemeClr "
        "val=\"phClr\"/></a:solidFill><a:solidFill><a:schemeClr val=\"phClr\"/></a:solidFill>";
    int widthEmu = 9144000;  // 720 pt
    int heightEmu = 6858000; // 540 pt
};
ZipEntries pptxEntries(const PptxRecipe& deck);

// A minimal OpenDocument presentation. The strings are the inner XML of automatic styles,
// the master page and the pages (each a full draw:page element).
struct OdpRecipe {
    std::string contentStyles;
    std::string stylesStyles;    // office:styles of styles.xml
    std::string masterStyles;    // office:automatic-styles of styles.xml
    std::string masterDrawStyle; // draw:style-name of the master page
    std::string masterShapes;
    std::vector<std::string> pages;
};
ZipEntries odpEntries(const OdpRecipe& deck);

QByteArray pngBytes(const QImage& image);

// Loads files written into a temporary folder and renders slides at 1 pixel per point.
class EditorCoreTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();

    QString write(const QString& name, const ZipEntries& entries);
    QString writeRaw(const QString& name, const QByteArray& bytes);
    // Loads the file and renders slide index at the slide's size in points (1 px = 1 pt).
    QImage loadAndRender(const QString& path, int index = 0);

    // Count of pixels in rect that differ clearly from colour.
    static int pixelsDifferingFrom(const QImage& image, const QRect& rect, QColor colour);
    static bool near(QColor a, QColor b, int tolerance = 6);

    QTemporaryDir _dir;
    PresentationViewerEditorCore _core;
};

} // namespace KX::Tovrin::Test

// Readable colours in assertion messages.
void PrintTo(const QColor& color, std::ostream* os);
