#include "platform/brovik/document/DocumentIO.h"

#include "platform/brovik/application/DocumentType.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using KX::Brovik::DocumentIO;

namespace {

QByteArray read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(BrovikDocumentIO, SaveCopyAsWritesTheSameBytesAndReplacesAnOldFile) {
    QTemporaryDir dir;
    QByteArray content(3 * 1024 * 1024 + 17, '\0'); // more than one copy chunk
    for (int i = 0; i < content.size(); ++i) {
        content[i] = static_cast<char>(i * 31);
    }
    write(dir.filePath("deck.pptx"), content);
    write(dir.filePath("copy.pptx"), "old and longer than nothing");
    DocumentIO io(dir.filePath("deck.pptx"));
    EXPECT_EQ(io.fileName(), QStringLiteral("deck.pptx"));

    EXPECT_EQ(io.saveCopyAs(dir.filePath("copy.pptx")), QString());
    EXPECT_EQ(read(dir.filePath("copy.pptx")), content);
    EXPECT_EQ(read(dir.filePath("deck.pptx")), content);
}

TEST(BrovikDocumentIO, CopyOntoItselfLeavesTheFileAlone) {
    QTemporaryDir dir;
    write(dir.filePath("deck.pptx"), "slides");
    DocumentIO io(dir.filePath("deck.pptx"));
    EXPECT_EQ(io.saveCopyAs(dir.filePath("./deck.pptx")), QString());
    EXPECT_EQ(read(dir.filePath("deck.pptx")), QByteArray("slides"));
}

TEST(BrovikDocumentIO, FailuresAreReadableAndLeaveTheDestination) {
    QTemporaryDir dir;
    write(dir.filePath("existing.pptx"), "keep me");
    DocumentIO missing(dir.filePath("gone.pptx"));
    const QString error = missing.saveCopyAs(dir.filePath("existing.pptx"));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot read \""))) << error.toStdString();
    EXPECT_EQ(read(dir.filePath("existing.pptx")), QByteArray("keep me"));

    write(dir.filePath("deck.pptx"), "slides");
    DocumentIO io(dir.filePath("deck.pptx"));
    const QString unwritable = io.saveCopyAs(dir.filePath("no/such/folder/copy.pptx"));
    EXPECT_TRUE(unwritable.startsWith(QStringLiteral("Cannot write \""))) << unwritable.toStdString();
}

} // namespace

namespace {

TEST(BrovikDocumentIO, CopiesAreOfferedAndNamedInTheDocumentsOwnFormat) {
    using KX::Brovik::saveCopyFilter;
    using KX::Brovik::withSuffixOf;
    EXPECT_EQ(saveCopyFilter("/talks/deck.odp"), QStringLiteral("OpenDocument Presentation (*.odp)"));
    EXPECT_EQ(saveCopyFilter("/talks/deck.PPTX"), QStringLiteral("PowerPoint Presentation (*.pptx)"));
    EXPECT_EQ(saveCopyFilter("/talks/show.ppsx"), QStringLiteral("PowerPoint Slide Show (*.ppsx)"));
    EXPECT_EQ(saveCopyFilter("/talks/deck.key"), QStringLiteral("Same format as the original (*.key)"));

    EXPECT_EQ(withSuffixOf("/out/copy", "/talks/deck.odp"), QStringLiteral("/out/copy.odp"));
    EXPECT_EQ(withSuffixOf("/out/copy.ODP", "/talks/deck.odp"), QStringLiteral("/out/copy.ODP"));
    // ODP bytes never go out under another format's name.
    EXPECT_EQ(withSuffixOf("/out/copy.pptx", "/talks/deck.odp"), QStringLiteral("/out/copy.pptx.odp"));
}

} // namespace
