#include "package/EntryNameIndex.h"

#include "ZipTestSupport.h"

#include <gtest/gtest.h>

using namespace KX;
using namespace KX::Testing;

TEST(PackageEntryNameIndex, FindsTheLowestIndexOfNamesEqualButForCase) {
    // Two entries whose names differ in case alone, as another zip tool may have written them.
    const std::string archive =
        makeArchive({{"META-INF/", ""}, {"Read.me", "a"}, {"read.ME", "b"}, {"x", "c"}});
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(archive.data(), archive.size(), 0, &error);
    ASSERT_NE(source, nullptr);
    zip_t* zip = zip_open_from_source(source, ZIP_RDONLY, &error);
    ASSERT_NE(zip, nullptr);

    EntryNameIndex folded(false);
    folded.build(zip);
    EntryNameIndex exact(true);
    exact.build(zip);
    for (const char* name : {"read.me", "READ.ME", "Read.me", "read.ME"}) {
        // As libzip's scan without case finds it.
        EXPECT_EQ(folded.find(name), zip_name_locate(zip, name, ZIP_FL_NOCASE)) << name;
        EXPECT_EQ(exact.find(name), zip_name_locate(zip, name, 0)) << name;
    }
    EXPECT_EQ(folded.find("read.me"), 1);
    EXPECT_EQ(folded.find("meta-inf/"), 0);
    EXPECT_EQ(folded.find("meta-inf"), -1);
    EXPECT_EQ(exact.find("meta-inf/"), -1);
    zip_discard(zip);

    // Losing the first name uncovers the second; only ASCII letters fold.
    folded.erase("READ.me", 1);
    EXPECT_EQ(folded.find("read.me"), 2);
    folded.insert("Read.me", 1);
    EXPECT_EQ(folded.find("read.me"), 1);
    folded.insert("\xC3\x89t\xC3\xA9", 4);
    EXPECT_EQ(folded.find("\xC3\x89T\xC3\xA9"), 4);
    EXPECT_EQ(folded.find("\xC3\xA9t\xC3\xA9"), -1);
}

TEST(PackageEntryNameIndex, ReplacingUnderAnotherCaseRenamesAndManyEntriesStayFindable) {
    MemoryStream stream(makeArchive({{"META-INF/", ""}, {"meta-inf/.digest", "old"}}));
    {
        const auto package = makeZippedPackage(stream, ZipOpenMode::OpenOrCreate, false);
        for (int i = 0; i < 3000; ++i)
            package->addEntry(FileSystem::Path("dir/File" + std::to_string(i)), Compression::Default);
        const auto out =
            package->addEntry(FileSystem::Path("META-INF/.digest"), Compression::Default)->openOutputStream();
        out->write("new", 3);
        package->deleteEntry(FileSystem::Path("DIR/file10"));
        package->moveEntry(FileSystem::Path("dir/file11"), FileSystem::Path("dir/moved"));
        EXPECT_FALSE(package->hasEntry(FileSystem::Path("dir/file10")));
        EXPECT_FALSE(package->hasEntry(FileSystem::Path("dir/file11")));
        EXPECT_TRUE(package->hasEntry(FileSystem::Path("DIR/MOVED")));
        EXPECT_TRUE(package->hasEntry(FileSystem::Path("dir/file2999")));
    }
    const auto entries = listArchive(stream.container());
    ASSERT_EQ(entries.size(), 2u + 3000u - 1u);
    EXPECT_EQ(entries[1].name, "META-INF/.digest");
    MemoryStream reopened(stream.container());
    const auto package = makeZippedPackage(reopened, ZipOpenMode::OpenExisting, true);
    EXPECT_EQ(readEntry(*package, "META-INF/.digest"), "new");
}
