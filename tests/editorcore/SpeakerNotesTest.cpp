// Speaker notes from both formats, one text per slide of the show, in step with the slides the
// importers give (hidden slides left out on both sides).

#include "platform/brovik/editorcore/notes/SpeakerNotes.h"

#include "EditorCoreFixture.h"

namespace KX::Tovrin::Test {
namespace {

class SpeakerNotes : public EditorCoreTest {};

const std::string NotesNamespaces =
    "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
    "xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\"";

QByteArray notesSlide(const std::string& paragraphs) {
    const std::string placeholder = [](const std::string& type, const std::string& body) {
        return "<p:sp><p:nvSpPr><p:cNvPr id=\"2\" name=\"\"/><p:cNvSpPr/><p:nvPr><p:ph type=\"" + type +
               "\"/></p:nvPr></p:nvSpPr><p:spPr/><p:txBody><a:bodyPr/>" + body + "</p:txBody></p:sp>";
    }("sldImg", "<a:p><a:r><a:t>not a note</a:t></a:r></a:p>");
    const std::string body = "<p:sp><p:nvSpPr><p:cNvPr id=\"3\" name=\"\"/><p:cNvSpPr/><p:nvPr><p:ph "
                             "type=\"body\" idx=\"1\"/></p:nvPr></p:nvSpPr><p:spPr/><p:txBody><a:bodyPr/>" +
                             paragraphs + "</p:txBody></p:sp>";
    return QByteArray::fromStdString(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><p:notes " + NotesNamespaces +
        "><p:cSld><p:spTree><p:nvGrpSpPr><p:cNvPr id=\"1\" name=\"\"/><p:cNvGrpSpPr/>"
        "<p:nvPr/></p:nvGrpSpPr><p:grpSpPr/>" +
        placeholder + body + "</p:spTree></p:cSld></p:notes>");
}

QByteArray slideRelationships(const std::string& notes) {
    const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    std::string body = "<Relationship Id=\"rIdL\" Type=\"" + rel +
                       "slideLayout\" Target=\"../slideLayouts/slideLayout1.xml\"/>";
    if (!notes.empty()) {
        body += "<Relationship Id=\"rIdN\" Type=\"" + rel + "notesSlide\" Target=\"../notesSlides/" + notes +
                "\"/>";
    }
    return QByteArray::fromStdString(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
        body + "</Relationships>");
}

TEST_F(SpeakerNotes, PowerPointNotesSlidesPerShownSlide) {
    PptxRecipe deck;
    deck.slideShapes = {"", "", "", ""};
    deck.slideAttributes = {"", "show=\"0\"", "", ""};
    ZipEntries entries = pptxEntries(deck);
    entries["ppt/slides/_rels/slide1.xml.rels"] = slideRelationships("notesSlide1.xml");
    entries["ppt/slides/_rels/slide2.xml.rels"] = slideRelationships("notesSlide2.xml");
    entries["ppt/slides/_rels/slide3.xml.rels"] = slideRelationships("");
    entries["ppt/slides/_rels/slide4.xml.rels"] = slideRelationships("notesSlide4.xml");
    entries["ppt/notesSlides/notesSlide1.xml"] =
        notesSlide("<a:p><a:r><a:t>Greet </a:t></a:r><a:r><a:t>the room</a:t></a:r><a:br/><a:r><a:t>then "
                   "start</a:t></a:r></a:p><a:p><a:r><a:t>Second point</a:t></a:r></a:p><a:p/>");
    entries["ppt/notesSlides/notesSlide2.xml"] = notesSlide("<a:p><a:r><a:t>hidden slide</a:t></a:r></a:p>");
    entries["ppt/notesSlides/notesSlide4.xml"] = notesSlide("<a:p><a:r><a:t>Thank them</a:t></a:r></a:p>");
    const QString path = write("notes.pptx", entries);

    const std::vector<QString> notes = readSpeakerNotes(path);
    _core.load(path);
    ASSERT_EQ(int(notes.size()), _core.getSlidesCount());
    EXPECT_EQ(notes, (std::vector<QString>{QStringLiteral("Greet the room\nthen start\nSecond point"),
                                           QString(), QStringLiteral("Thank them")}));
}

TEST_F(SpeakerNotes, OpenDocumentNotesPerShownPage) {
    OdpRecipe deck;
    const auto page = [](const std::string& attributes, const std::string& notes) {
        return "<draw:page draw:master-page-name=\"Default\" " + attributes +
               "><presentation:notes>"
               "<draw:page-thumbnail presentation:class=\"page\"/>" +
               notes + "</presentation:notes></draw:page>";
    };
    const std::string frame = "<draw:frame presentation:class=\"notes\"><draw:text-box>";
    deck.pages = {
        page("", frame +
                     "<text:p>Open with <text:span>a story</text:span></text:p><text:list><text:list-item>"
                     "<text:p>one point</text:p></text:list-item></text:list></draw:text-box></draw:frame>"),
        page("presentation:visibility=\"hidden\"",
             frame + "<text:p>hidden</text:p></draw:text-box></draw:frame>"),
        "<draw:page draw:master-page-name=\"Default\"/>",
    };
    const QString path = write("notes.odp", odpEntries(deck));

    const std::vector<QString> notes = readSpeakerNotes(path);
    _core.load(path);
    ASSERT_EQ(int(notes.size()), _core.getSlidesCount());
    EXPECT_EQ(notes, (std::vector<QString>{QStringLiteral("Open with a story\none point"), QString()}));
}

TEST_F(SpeakerNotes, UnreadableFilesHaveNone) {
    EXPECT_TRUE(readSpeakerNotes(_dir.filePath("missing.pptx")).empty());
    EXPECT_TRUE(readSpeakerNotes(writeRaw("garbage.pptx", "not a zip at all")).empty());
}

} // namespace
} // namespace KX::Tovrin::Test
