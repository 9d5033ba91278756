#include "package/ZippedPackage.h"

#include "TestFiles.h"
#include "ZipTestSupport.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace KX;
using namespace KX::Testing;

namespace {

constexpr auto File = Package::EntryType::File;
constexpr auto Directory = Package::EntryType::Directory;

std::vector<std::pair<std::string, Package::EntryType>> entriesOf(const Package& package) {
    std::vector<std::pair<std::string, Package::EntryType>> entries;
    const auto collect = [&](const FileSystem::Path& path, Package::EntryType type, bool isSymlink) {
        EXPECT_FALSE(isSymlink);
        entries.emplace_back(path.generic_u8string(), type);
    };
    package.traverseEntries(
        makeCallableRef<void(const FileSystem::Path&, Package::EntryType, bool)>(collect));
    return entries;
}

std::string openError(const std::string& bytes, ZipOpenMode mode) {
    MemoryStream stream(bytes);
    return messageOf<BrokenFileError>([&] { makeZippedPackage(stream, mode, false); });
}

} // namespace

TEST(PackageZipOpening, EmptyStreamDependsOnTheMode) {
    EXPECT_EQ(openError("", ZipOpenMode::OpenExisting), "ZIP stream cannot be read");
    MemoryStream stream;
    {
        const auto package = makeZippedPackage(stream, ZipOpenMode::OpenOrCreate, false);
        EXPECT_TRUE(entriesOf(*package).empty());
    }
    // libzip writes no archive without entries.
    EXPECT_EQ(stream.container(), "");
}

TEST(PackageZipOpening, BadInputIsRefusedWithAClearError) {
    // An end-of-central-directory record alone: a valid empty zip elsewhere, but no package.
    const std::string endRecordOnly = std::string("PK\x05\x06", 4) + std::string(18, '\0');
    EXPECT_EQ(openError(endRecordOnly, ZipOpenMode::OpenOrCreate), "Malformed ZIP package");
    EXPECT_EQ(openError("plain text, not an archive", ZipOpenMode::OpenOrCreate), "Malformed ZIP package");
    EXPECT_EQ(openError("PK", ZipOpenMode::OpenExisting), "Malformed ZIP package");
    EXPECT_EQ(openError(std::string("PK\x03\x04", 4), ZipOpenMode::OpenExisting),
              "Cannot open: Not a zip archive");

    const std::string archive = makeArchive({{"a.txt", std::string(5000, 'a')}, {"b.txt", "b"}});
    const std::string truncated = archive.substr(0, archive.size() / 2);
    EXPECT_EQ(openError(truncated, ZipOpenMode::OpenOrCreate), "Cannot open: Not a zip archive");
    // The stream is left as it was.
    MemoryStream stream(truncated);
    EXPECT_THROW(makeZippedPackage(stream, ZipOpenMode::OpenOrCreate, false), BrokenFileError);
    EXPECT_EQ(stream.container(), truncated);
}

TEST(PackageZipWriteBack, CreateNewReplacesOldContentAndShortensTheStream) {
    MemoryStream stream(makeArchive({{"old.txt", std::string(100000, 'o')}}, Compression::Store));
    const std::size_t oldSize = stream.container().size();
    {
        const auto package = makeZippedPackage(stream, ZipOpenMode::CreateNew, false);
        EXPECT_FALSE(package->hasEntry("old.txt"));
        const auto out = package->addEntry("new.txt", Compression::Default)->openOutputStream();
        out->write("new", 3);
    }
    EXPECT_LT(stream.container().size(), oldSize);
    EXPECT_EQ(listArchive(stream.container()), (std::vector<ArchivedEntry>{{"new.txt", ZIP_CM_DEFLATE, 3}}));
}

TEST(PackageZipWriteBack, UnchangedPackageRewritesTheSameBytes) {
    const std::string archive = makeArchive({{"dir/", ""}, {"dir/a.txt", "alpha"}});
    MemoryStream stream(archive);
    { const auto package = makeZippedPackage(stream, ZipOpenMode::OpenOrCreate, false); }
    EXPECT_EQ(stream.container(), archive);
}

TEST(PackageZipWriteBack, SaveWritesOnceAndClosesThePackage) {
    MemoryStream stream;
    auto package = makeZippedPackage(stream, ZipOpenMode::CreateNew, false);
    {
        const auto out = package->addEntry("a.txt", Compression::Default)->openOutputStream();
        out->write("abc", 3);
    }
    package->save();
    const std::string saved = stream.container();
    EXPECT_EQ(listArchive(saved).size(), 1u);
    EXPECT_NO_THROW(package->save());
    EXPECT_EQ(fatalReportOf([&] { package->hasEntry("a.txt"); }), "Assertion failure: zip");
    stream.container() += "later";
    package.reset();
    // Destruction after a save writes nothing more.
    EXPECT_EQ(stream.container(), saved + "later");
}

TEST(PackageZipWriteBack, FailingWriteIsReportedBySaveAndSwallowedByDestruction) {
    // A stream that refuses every write, like a full disk.
    class FullDisk final : public InOutStream {
    public:
        std::size_t read(void*, std::size_t) override { return 0; }
        std::int64_t write(const void*, std::size_t) override {
            throw std::ios_base::failure("failed writing");
        }
        bool isBufferBased() const override { return false; }
        bool isSeekable() const override { return true; }
        std::int64_t seek(std::int64_t, std::ios_base::seekdir) override { return 0; }
        bool isResizable() const override { return true; }
        void resize(std::size_t) override {}
    };
    FullDisk saved;
    {
        const auto package = makeZippedPackage(saved, ZipOpenMode::CreateNew, false);
        package->addEntry("a", Compression::Default);
        EXPECT_THROW(package->save(), std::ios_base::failure);
    }
    FullDisk unsaved;
    {
        const auto package = makeZippedPackage(unsaved, ZipOpenMode::CreateNew, false);
        package->addEntry("a", Compression::Default);
    }
    SUCCEED();
}

TEST(PackageZipWriteBack, BlobsKeepThePackageAliveAndTheLastOneSaves) {
    MemoryStream stream;
    BlobUPtr blob;
    {
        const auto package = makeZippedPackage(stream, ZipOpenMode::CreateNew, false);
        blob = package->addEntry("kept.txt", Compression::Store);
    }
    EXPECT_EQ(stream.container(), "");
    {
        const auto out = blob->openOutputStream();
        out->write("still here", 10);
    }
    blob.reset();
    EXPECT_EQ(listArchive(stream.container()), (std::vector<ArchivedEntry>{{"kept.txt", ZIP_CM_STORE, 10}}));
}

TEST(PackageZipEntries, NamesAreLookedUpWithOrWithoutCase) {
    MemoryStream stream(makeArchive({{"meta-inf/", ""}, {"meta-inf/.digest", "old"}}));
    {
        const auto package = makeZippedPackage(stream, ZipOpenMode::OpenOrCreate, false);
        EXPECT_TRUE(package->hasEntry("META-INF/.DIGEST"));
        const auto out = package->addEntry("META-INF/.digest", Compression::Default)->openOutputStream();
        out->write("new", 3);
    }
    const auto entries = listArchive(stream.container());
    ASSERT_EQ(entries.size(), 2u);
    // Replaced in place, under its new spelling.
    EXPECT_EQ(entries[1], (ArchivedEntry{"META-INF/.digest", ZIP_CM_DEFLATE, 3}));

    stream.seek(0, std::ios_base::beg);
    const auto sensitive = makeZippedPackage(stream, ZipOpenMode::OpenOrCreate, true);
    EXPECT_TRUE(sensitive->hasEntry("META-INF/.digest"));
    EXPECT_FALSE(sensitive->hasEntry("meta-inf/.DIGEST"));
}

TEST(PackageZipEntries, DirectoryEntriesCarryATrailingSlash) {
    MemoryStream stream;
    {
        const auto package = makeZippedPackage(stream, ZipOpenMode::CreateNew, false);
        package->addEntry("dir/", Compression::Deflate);
        package->addEntry("dir\\file.txt", Compression::Deflate);
        EXPECT_FALSE(package->hasEntry("dir"));
        EXPECT_TRUE(package->hasEntry("dir/"));
        EXPECT_TRUE(package->hasEntry("dir/file.txt"));
        // Entries added since opening are not walked.
        EXPECT_TRUE(entriesOf(*package).empty());
    }
    stream.seek(0, std::ios_base::beg);
    const auto reopened = makeZippedPackage(stream, ZipOpenMode::OpenExisting, false);
    EXPECT_EQ(entriesOf(*reopened), (std::vector<std::pair<std::string, Package::EntryType>>{
                                        {"dir", Directory}, {"dir/file.txt", File}}));
}

TEST(PackageZipEntries, MisuseIsAFatalAssertion) {
    MemoryStream stream(makeArchive({{"a.txt", "a"}, {"b.txt", "b"}}));
    const auto package = makeZippedPackage(stream, ZipOpenMode::OpenOrCreate, false);
    EXPECT_EQ(fatalReportOf([&] { package->getEntry("/a.txt"); }),
              "Assertion failure: !pathInPackage.startsWithSlash()");
    EXPECT_EQ(fatalReportOf([&] { package->addEntry("\\a.txt", Compression::Default); }),
              "Assertion failure: !pathInPackage.startsWithSlash()");
    EXPECT_EQ(fatalReportOf([&] { package->deleteEntry("missing"); }), "Assertion failure: index >= 0");
    EXPECT_EQ(fatalReportOf([&] { package->moveEntry("a.txt", "b.txt"); }),
              "Assertion failure: renameEntryInZipResult >= 0");
    EXPECT_EQ(messageOf<InvalidArgumentError>([&] { package->addEntry("", Compression::Default); }),
              "virtual KX::BlobUPtr KX::ZippedPackage::addEntry(const FileSystem::Path &, KX::Compression). "
              "Can't add entry with empty path");
    EXPECT_EQ(messageOf<InvalidArgumentError>([&] { package->moveEntry("missing", "c"); }),
              "Can't move entry \"missing\" as it doesn't exist in zip package.");
    ZippedPackage unshared(stream, ZipOpenMode::OpenOrCreate, false, std::nullopt);
    EXPECT_THROW(unshared.getEntry("a.txt"), std::bad_weak_ptr);
}

TEST(PackageZipEntries, DeleteAndMoveTakeEffectInTheSavedArchive) {
    MemoryStream stream(makeArchive({{"a.txt", "a"}, {"b.txt", "bb"}, {"c.txt", "ccc"}}));
    {
        const auto package = makeZippedPackage(stream, ZipOpenMode::OpenOrCreate, false);
        package->deleteEntry("A.TXT");
        package->moveEntry("b.txt", "renamed/b.txt");
        // The walk still shows the archive as it was opened.
        EXPECT_EQ(entriesOf(*package).size(), 3u);
    }
    stream.seek(0, std::ios_base::beg);
    const auto reopened = makeZippedPackage(stream, ZipOpenMode::OpenOrCreate, false);
    EXPECT_EQ(entriesOf(*reopened), (std::vector<std::pair<std::string, Package::EntryType>>{
                                        {"renamed/b.txt", File}, {"c.txt", File}}));
    EXPECT_EQ(readEntry(*reopened, "renamed/b.txt"), "bb");
}

TEST(PackageZipEntries, NamesAreUtf8AndReadableByLibzipAsSuch) {
    MemoryStream stream;
    const std::string name = "r\xC3\xA9sum\xC3\xA9/\xE6\x97\xA5\xE6\x9C\xAC.txt";
    {
        const auto package = makeZippedPackage(stream, ZipOpenMode::CreateNew, false);
        const auto out = package->addEntry(FileSystem::Path(name), Compression::Default)->openOutputStream();
        out->write("x", 1);
    }
    // General purpose bit 11 in the local header says the name is UTF-8.
    const std::string& bytes = stream.container();
    ASSERT_GT(bytes.size(), 8u);
    EXPECT_TRUE(static_cast<unsigned char>(bytes[7]) & 0x08);
    EXPECT_EQ(listArchive(bytes)[0].name, name);
}
