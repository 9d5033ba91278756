#include "platform/brovik/editorcore/geometry/GeometryDefinition.h"
#include "platform/brovik/editorcore/geometry/SvgPath.h"
#include "platform/brovik/editorcore/package/XmlPart.h"
#include "platform/brovik/editorcore/text/ListNumbering.h"

#include <gtest/gtest.h>

namespace KX::Tovrin {
namespace {

bool containsPoint(const GeometryDefinition::Result& r, QPointF p) {
    for (const auto& path : r.paths)
        if (path.path.contains(p))
            return true;
    return false;
}

TEST(EditorCoreGeometry, CommonPresetsHaveTheirShape) {
    const QSizeF size(100, 50);
    const auto ellipse = presetGeometry(QStringLiteral("ellipse"), size, {});
    EXPECT_TRUE(containsPoint(ellipse, {50, 25}));
    EXPECT_FALSE(containsPoint(ellipse, {2, 2}));
    const auto triangle = presetGeometry(QStringLiteral("triangle"), size, {});
    EXPECT_TRUE(containsPoint(triangle, {50, 40}));
    EXPECT_FALSE(containsPoint(triangle, {5, 5}));
    const auto arrow = presetGeometry(QStringLiteral("rightArrow"), size, {});
    EXPECT_TRUE(containsPoint(arrow, {95, 25}));
    EXPECT_FALSE(containsPoint(arrow, {5, 2}));
    const auto unknown = presetGeometry(QStringLiteral("noSuchPreset"), size, {});
    EXPECT_TRUE(containsPoint(unknown, {1, 1}));
    // Adjust values change the outline: a round rectangle with the largest radius loses its corners.
    const auto round = presetGeometry(QStringLiteral("roundRect"), size,
                                      {{QStringLiteral("adj"), QStringLiteral("val 50000")}});
    EXPECT_FALSE(containsPoint(round, {2, 2}));
    EXPECT_TRUE(containsPoint(round, {50, 25}));

    GeometryDefinition::Result handDrawn;
    ASSERT_TRUE(basicPresetGeometry(QStringLiteral("downArrow"), size, {}, handDrawn));
    EXPECT_FALSE(handDrawn.paths.empty());
    EXPECT_FALSE(basicPresetGeometry(QStringLiteral("noSuchPreset"), size, {}, handDrawn));
}

TEST(EditorCoreGeometry, CustomGeometryUsesGuidesAndItsOwnCoordinateSpace) {
    const QByteArray xml =
        "<a:custGeom xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"><a:avLst/>"
        "<a:gdLst><a:gd name=\"half\" fmla=\"*/ w 1 2\"/></a:gdLst><a:rect l=\"l\" t=\"t\" r=\"half\" "
        "b=\"b\"/>"
        "<a:pathLst><a:path w=\"10\" h=\"10\"><a:moveTo><a:pt x=\"0\" y=\"0\"/></a:moveTo>"
        "<a:lnTo><a:pt x=\"10\" y=\"0\"/></a:lnTo><a:lnTo><a:pt x=\"0\" y=\"10\"/></a:lnTo><a:close/>"
        "</a:path></a:pathLst></a:custGeom>";
    const QDomDocument doc = parseXmlPart(xml, QStringLiteral("test"));
    const auto result = GeometryDefinition::fromXml(doc.documentElement()).evaluate(QSizeF(200, 100), {});
    ASSERT_EQ(result.paths.size(), 1u);
    EXPECT_TRUE(result.paths[0].path.contains(QPointF(20, 20)));
    EXPECT_FALSE(result.paths[0].path.contains(QPointF(180, 90)));
    EXPECT_DOUBLE_EQ(result.textRect.right(), 100);
}

TEST(EditorCoreGeometry, SvgPathsIncludingArcsAndMalformedTails) {
    const QPainterPath square = parseSvgPath(QStringLiteral("M0,0 h10 v10 H0 z"));
    EXPECT_EQ(square.boundingRect(), QRectF(0, 0, 10, 10));
    const QPainterPath arc = parseSvgPath(QStringLiteral("M 0 50 A 50 50 0 0 1 100 50"));
    EXPECT_NEAR(arc.boundingRect().top(), 0, 0.5) << "half circle over the top";
    const QPainterPath broken = parseSvgPath(QStringLiteral("M0 0 L10 10 L 5 x 3"));
    EXPECT_EQ(broken.currentPosition(), QPointF(10, 10));
    EXPECT_TRUE(parseSvgPath(QStringLiteral("12 34")).isEmpty());
}

TEST(EditorCoreText, ListNumberFormatsAndCounting) {
    EXPECT_EQ(formatListNumber(QStringLiteral("arabicPeriod"), 3), QStringLiteral("3."));
    EXPECT_EQ(formatListNumber(QStringLiteral("romanUcPeriod"), 14), QStringLiteral("XIV."));
    EXPECT_EQ(formatListNumber(QStringLiteral("alphaLcParenR"), 28), QStringLiteral("bb)"));
    EXPECT_EQ(formatListNumber(QStringLiteral("arabicParenBoth"), 2), QStringLiteral("(2)"));
    ListNumbering n;
    EXPECT_EQ(n.next(0, QStringLiteral("arabicPeriod"), 1, true), 1);
    EXPECT_EQ(n.next(1, QStringLiteral("alphaLcPeriod"), 1, true), 1);
    EXPECT_EQ(n.next(0, QStringLiteral("arabicPeriod"), 1, true), 2);
    EXPECT_EQ(n.next(1, QStringLiteral("alphaLcPeriod"), 1, true), 1) << "restarted under a new parent";
    n.interrupt(0, true);
    EXPECT_EQ(n.next(0, QStringLiteral("arabicPeriod"), 5, true), 5);
}

} // namespace
} // namespace KX::Tovrin
