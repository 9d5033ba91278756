#include "EditorCoreFixture.h"

namespace KX::Tovrin::Test {
namespace {

using Kind = SlideTransition::Kind;

class EditorCoreTransitions : public EditorCoreTest {
protected:
    SlideTransition pptx(const std::string& tail) {
        PptxRecipe deck;
        deck.slideShapes = {""};
        deck.slideTails = {tail};
        _core.load(write("t.pptx", pptxEntries(deck)));
        return _core.slideTransition(0);
    }

    SlideTransition odp(const std::string& properties, const std::string& timing = "") {
        OdpRecipe deck;
        deck.contentStyles = "<style:style style:name=\"dp1\" style:family=\"drawing-page\">"
                             "<style:drawing-page-properties " +
                             properties + "/></style:style>";
        deck.pages = {
            "<draw:page draw:name=\"a\" draw:master-page-name=\"Default\" draw:style-name=\"dp1\">" + timing +
            "</draw:page>"};
        _core.load(write("t.odp", odpEntries(deck)));
        return _core.slideTransition(0);
    }
};

TEST_F(EditorCoreTransitions, PowerPointKindsDirectionsAndLengths) {
    SlideTransition t = pptx("<p:transition spd=\"slow\"><p:fade thruBlk=\"1\"/></p:transition>");
    EXPECT_EQ(t.kind, Kind::Fade);
    EXPECT_EQ(t.throughColor, QColor(Qt::black));
    EXPECT_EQ(t.durationMs, 1000);

    t = pptx("<p:transition><p:push dir=\"u\"/></p:transition>");
    EXPECT_EQ(t.kind, Kind::Push);
    EXPECT_EQ(t.motion, QPoint(0, -1));
    EXPECT_EQ(t.durationMs, 500); // "fast" when no speed is given

    t = pptx("<p:transition spd=\"med\"><p:wipe/></p:transition>");
    EXPECT_EQ(t.kind, Kind::Wipe);
    EXPECT_EQ(t.motion, QPoint(-1, 0));
    EXPECT_EQ(t.durationMs, 750);

    t = pptx("<p:transition><p:cover dir=\"rd\"/></p:transition>");
    EXPECT_EQ(t.kind, Kind::Cover);
    EXPECT_EQ(t.motion, QPoint(1, 1));

    t = pptx("<p:transition><p:split orient=\"vert\" dir=\"in\"/></p:transition>");
    EXPECT_EQ(t.kind, Kind::Split);
    EXPECT_TRUE(t.verticalSplit);
    EXPECT_TRUE(t.inward);
    t = pptx("<p:transition><p:split/></p:transition>");
    EXPECT_FALSE(t.verticalSplit);
    EXPECT_FALSE(t.inward);

    // Newer files give the length in milliseconds on a choice the older readers skip.
    t = pptx("<mc:AlternateContent><mc:Choice Requires=\"p14\"><p:transition spd=\"slow\" p14:dur=\"1250\">"
             "<p:push dir=\"r\"/></p:transition></mc:Choice><mc:Fallback><p:transition spd=\"slow\"><p:fade/>"
             "</p:transition></mc:Fallback></mc:AlternateContent>");
    EXPECT_EQ(t.kind, Kind::Push);
    EXPECT_EQ(t.motion, QPoint(1, 0));
    EXPECT_EQ(t.durationMs, 1250);
}

TEST_F(EditorCoreTransitions, PowerPointKindsNotPlayedFallBack) {
    // A kind only the choice knows: the fallback's is played.
    SlideTransition t =
        pptx("<mc:AlternateContent><mc:Choice Requires=\"p14\"><p:transition p14:dur=\"2000\">"
             "<p14:prism/></p:transition></mc:Choice><mc:Fallback><p:transition><p:fade/>"
             "</p:transition></mc:Fallback></mc:AlternateContent>");
    EXPECT_EQ(t.kind, Kind::Fade);
    EXPECT_FALSE(t.throughColor.isValid());
    EXPECT_EQ(pptx("<p:transition><p:dissolve/></p:transition>").kind, Kind::Cut);
    EXPECT_EQ(pptx("<p:transition spd=\"med\"/>").kind, Kind::Cut);
    EXPECT_EQ(pptx("").kind, Kind::Cut);
    EXPECT_EQ(_core.slideTransition(7).kind, Kind::Cut); // out of range
}

TEST_F(EditorCoreTransitions, OpenDocumentKindsFromThePageStyle) {
    SlideTransition t = odp("smil:type=\"fade\" smil:subtype=\"fadeOverColor\" smil:fadeColor=\"#ff0000\" "
                            "presentation:transition-speed=\"slow\"");
    EXPECT_EQ(t.kind, Kind::Fade);
    EXPECT_EQ(t.throughColor, QColor(255, 0, 0));
    EXPECT_EQ(t.durationMs, 1000);
    t = odp("smil:type=\"fade\" smil:subtype=\"crossfade\"");
    EXPECT_EQ(t.kind, Kind::Fade);
    EXPECT_FALSE(t.throughColor.isValid());

    t = odp("smil:type=\"pushWipe\" smil:subtype=\"fromBottom\"");
    EXPECT_EQ(t.kind, Kind::Push);
    EXPECT_EQ(t.motion, QPoint(0, -1));
    t = odp("smil:type=\"barWipe\" smil:subtype=\"topToBottom\" smil:direction=\"reverse\"");
    EXPECT_EQ(t.kind, Kind::Wipe);
    EXPECT_EQ(t.motion, QPoint(0, -1));
    t = odp("smil:type=\"slideWipe\" smil:subtype=\"fromTopLeft\"");
    EXPECT_EQ(t.kind, Kind::Cover);
    EXPECT_EQ(t.motion, QPoint(1, 1));
    t = odp("smil:type=\"barnDoorWipe\" smil:subtype=\"horizontal\" smil:direction=\"reverse\"");
    EXPECT_EQ(t.kind, Kind::Split);
    EXPECT_FALSE(t.verticalSplit);
    EXPECT_TRUE(t.inward);
    t = odp("presentation:transition-style=\"move-from-top\"");
    EXPECT_EQ(t.kind, Kind::Cover);
    EXPECT_EQ(t.motion, QPoint(0, 1));

    // Uncover, dissolve and a fade colour without a kind are cuts.
    EXPECT_EQ(odp("smil:type=\"slideWipe\" smil:subtype=\"fromLeft\" smil:direction=\"reverse\"").kind,
              Kind::Cut);
    EXPECT_EQ(odp("smil:type=\"dissolve\"").kind, Kind::Cut);
    EXPECT_EQ(odp("smil:fadeColor=\"#000000\" presentation:transition-type=\"automatic\"").kind, Kind::Cut);
}

TEST_F(EditorCoreTransitions, OpenDocumentTimingGivesTheLengthAndStandsInForTheStyle) {
    const std::string filter =
        "<anim:par presentation:node-type=\"timing-root\"><anim:transitionFilter "
        "smil:dur=\"2s\" smil:type=\"barWipe\" smil:subtype=\"leftToRight\"/></anim:par>";
    SlideTransition t = odp("smil:type=\"barWipe\" smil:subtype=\"leftToRight\"", filter);
    EXPECT_EQ(t.kind, Kind::Wipe);
    EXPECT_EQ(t.motion, QPoint(1, 0));
    EXPECT_EQ(t.durationMs, 2000);
    t = odp("presentation:background-visible=\"true\"", filter);
    EXPECT_EQ(t.kind, Kind::Wipe);
    EXPECT_EQ(t.durationMs, 2000);
}

} // namespace
} // namespace KX::Tovrin::Test
