#include "TestFiles.h"
#include "ZipTestSupport.h"
#include "package/OpenedPackage.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace KX;
using namespace KX::Testing;

TEST(PackageOpen, DirectoryGivesAPackageWithoutStream) {
    ScratchDirectory scratch;
    writeFile(scratch / "plug/META-INF/a.txt", "a");
    const OpenedPackage opened =
        openPackage((scratch / "plug").string(), ZipOpenMode::OpenOrCreate, FileOpenMode::OpenExisting);
    EXPECT_EQ(opened.stream, nullptr);
    EXPECT_TRUE(opened->hasEntry("META-INF/a.txt"));
    EXPECT_NO_THROW(opened->save());
}

TEST(PackageOpen, MissingFileIsNotCreatedWithOpenExisting) {
    ScratchDirectory scratch;
    const std::string path = (scratch / "missing.xpk").string();
    const std::string message =
        messageOf<IOError>([&] { openPackage(path, ZipOpenMode::OpenOrCreate, FileOpenMode::OpenExisting); });
    EXPECT_EQ(message.rfind("file '" + path + "' cannot be opened (failed opening file", 0), 0u) << message;
    EXPECT_FALSE(fs::exists(path));
}

TEST(PackageOpen, CreateOrTruncateGivesAnEmptyArchive) {
    ScratchDirectory scratch;
    const std::string path = (scratch / "new.xpk").string();
    const OpenedPackage opened = openPackage(path, ZipOpenMode::OpenOrCreate, FileOpenMode::CreateOrTruncate);
    EXPECT_TRUE(fs::exists(path));
    int count = 0;
    const auto visit = [&](const FileSystem::Path&, Package::EntryType, bool) { ++count; };
    opened->traverseEntries(makeCallableRef<void(const FileSystem::Path&, Package::EntryType, bool)>(visit));
    EXPECT_EQ(count, 0);
}

TEST(PackageOpen, EmptyOpenedPackageIsAFatalAssertion) {
    const OpenedPackage empty;
    EXPECT_EQ(fatalReportOf([&] { empty->hasEntry("a"); }), "Assertion failure: plainPtr");
}

TEST(PackageOpen, SavingReplacesTheFileKeepingPermissionsAndLinks) {
    ScratchDirectory scratch;
    const fs::path file = scratch / "real.xpk";
    writeFile(file, makeArchive({{"a.txt", "a"}, {"b.txt", "b"}}));
    ::chmod(file.c_str(), 0640);
    fs::create_symlink(file, scratch / "link.xpk");
    {
        OpenedPackage opened = openPackage((scratch / "link.xpk").string(), ZipOpenMode::OpenOrCreate,
                                           FileOpenMode::OpenExisting);
        opened->deleteEntry("a.txt");
        opened->save();
    }
    EXPECT_TRUE(fs::is_symlink(scratch / "link.xpk"));
    EXPECT_EQ(listArchive(readFile(file)), (std::vector<ArchivedEntry>{{"b.txt", ZIP_CM_DEFLATE, 1}}));
    EXPECT_EQ(fs::status(file).permissions(), fs::perms(0640));
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path()), fs::directory_iterator()), 2);
}

TEST(PackageOpen, FailedSaveLeavesTheFileAsItWas) {
    ScratchDirectory scratch;
    const fs::path folder = scratch / "folder";
    const fs::path file = folder / "p.xpk";
    const std::string original = makeArchive({{"a.txt", "a"}, {"b.txt", "b"}});
    writeFile(file, original);
    {
        OpenedPackage opened =
            openPackage(file.string(), ZipOpenMode::OpenOrCreate, FileOpenMode::OpenExisting);
        opened->deleteEntry("a.txt");
        // The folder becomes unusable for a new file: the temporary file cannot be created.
        fs::rename(folder, scratch / "moved");
        writeFile(folder, "now a file");
        const std::string message = messageOf<IOError>([&] { opened->save(); });
        EXPECT_EQ(message.rfind(
                      "Package '" + file.string() + "' cannot be saved, failed creating a temporary file", 0),
                  0u)
            << message;
    }
    EXPECT_EQ(readFile(scratch / "moved/p.xpk"), original);
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch / "moved"), fs::directory_iterator()), 1);
}

TEST(PackageOpen, UnchangedPackageFileIsNotRewritten) {
    ScratchDirectory scratch;
    const fs::path file = scratch / "p.xpk";
    writeFile(file, makeArchive({{"a.txt", "a"}}));
    struct stat before {};
    ::stat(file.c_str(), &before);
    {
        const OpenedPackage opened =
            openPackage(file.string(), ZipOpenMode::OpenOrCreate, FileOpenMode::OpenExisting);
        EXPECT_TRUE(opened->hasEntry("a.txt"));
    }
    struct stat after {};
    ::stat(file.c_str(), &after);
    EXPECT_EQ(before.st_ino, after.st_ino);
}
