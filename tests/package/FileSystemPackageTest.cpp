#include "package/FileSystemPackage.h"

#include "TestFiles.h"
#include "core/PackagePath.h"
#include "package/TraverseFiles.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <tuple>
#include <unistd.h>
#include <vector>

using namespace KX;
using namespace KX::Testing;

namespace {

using Entry = std::tuple<std::string, Package::EntryType, bool>;
constexpr auto File = Package::EntryType::File;
constexpr auto Directory = Package::EntryType::Directory;

std::vector<Entry> entriesOf(const Package& package) {
    std::vector<Entry> entries;
    const auto collect = [&](const FileSystem::Path& path, Package::EntryType type, bool isSymlink) {
        entries.emplace_back(path.generic_u8string(), type, isSymlink);
    };
    package.traverseEntries(
        makeCallableRef<void(const FileSystem::Path&, Package::EntryType, bool)>(collect));
    return entries;
}

std::size_t indexOf(const std::vector<Entry>& entries, const std::string& path) {
    return static_cast<std::size_t>(
        std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return std::get<0>(e) == path; }) -
        entries.begin());
}

// Changes the working directory for the lifetime of the object.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const fs::path& path) : _previous(fs::current_path()) {
        fs::current_path(path);
    }
    ~WorkingDirectory() { fs::current_path(_previous); }

private:
    fs::path _previous;
};

} // namespace

TEST(PackageFileSystem, OpeningRequiresAnExistingPath) {
    ScratchDirectory scratch;
    EXPECT_EQ(messageOf<MakePackageError>([&] { openFileSystemPackage(FileSystem::Path("plug")); }),
              "Failed to open file system package. Path \"plug\" doesn't exist");
    // makeFileSystemPackage does not look.
    EXPECT_NO_THROW(makeFileSystemPackage(FileSystem::Path((scratch / "missing").string())));
}

TEST(PackageFileSystem, RelativeRootIsFixedAtConstruction) {
    ScratchDirectory scratch;
    writeFile(scratch / "plug/a.txt", "a");
    fs::create_directories(scratch / "elsewhere");
    std::shared_ptr<Package> package;
    {
        WorkingDirectory cwd(scratch.path());
        package = openFileSystemPackage(FileSystem::Path("plug"));
    }
    WorkingDirectory cwd(scratch / "elsewhere");
    EXPECT_TRUE(package->hasEntry("a.txt"));
    EXPECT_EQ(package->getEntry("a.txt")->openInputStream()->size(), 1);
}

TEST(PackageFileSystem, AddEntryCreatesParentsAndEmptiesExistingFiles) {
    ScratchDirectory scratch;
    const auto package = makeFileSystemPackage(FileSystem::Path(scratch.path()));
    package->addEntry("META-INF/.digest", Compression::Default);
    EXPECT_TRUE(fs::is_directory(scratch / "META-INF"));
    EXPECT_EQ(fs::file_size(scratch / "META-INF/.digest"), 0u);

    writeFile(scratch / "old.txt", "old content");
    const auto blob = package->addEntry("old.txt", Compression::Store);
    EXPECT_EQ(fs::file_size(scratch / "old.txt"), 0u);
    {
        const auto out = blob->openOutputStream();
        out->write("new", 3);
    }
    EXPECT_EQ(readFile(scratch / "old.txt"), "new");

    // A trailing separator names a directory: it is created, and the empty-file step fails silently.
    package->addEntry("lib/", Compression::Default);
    EXPECT_TRUE(fs::is_directory(scratch / "lib"));
    EXPECT_TRUE(fs::is_empty(scratch / "lib"));
}

TEST(PackageFileSystem, DeflateIsRefusedForDirectories) {
    ScratchDirectory scratch;
    const auto package = makeFileSystemPackage(FileSystem::Path(scratch.path()));
    EXPECT_EQ(messageOf<MakePackageError>([&] { package->addEntry("a&b.txt", Compression::Deflate); }),
              "Compression value for adding entry \"a&&b.txt\" is not supported");
    EXPECT_FALSE(fs::exists(scratch / "a&b.txt"));
}

TEST(PackageFileSystem, MissingEntryFailsWhenItsStreamIsOpened) {
    ScratchDirectory scratch;
    const auto package = makeFileSystemPackage(FileSystem::Path(scratch.path()));
    const auto blob = package->getEntry("missing.txt");
    EXPECT_THROW(blob->openInputStream(), std::ios_base::failure);
}

TEST(PackageFileSystem, TraversalReportsDirectoriesBeforeTheirContents) {
    ScratchDirectory scratch;
    writeFile(scratch / "a/b.txt", "b");
    writeFile(scratch / "c.txt", "c");
    fs::create_directories(scratch / "a/empty");
    const auto entries = entriesOf(*makeFileSystemPackage(FileSystem::Path(scratch.path())));
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_LT(indexOf(entries, "a"), indexOf(entries, "a/b.txt"));
    EXPECT_LT(indexOf(entries, "a"), indexOf(entries, "a/empty"));
    EXPECT_EQ(entries[indexOf(entries, "a")], Entry("a", Directory, false));
    EXPECT_EQ(entries[indexOf(entries, "a/empty")], Entry("a/empty", Directory, false));
    EXPECT_EQ(entries[indexOf(entries, "c.txt")], Entry("c.txt", File, false));
}

TEST(PackageFileSystem, TraversalFollowsAndFlagsDirectoryLinks) {
    ScratchDirectory scratch;
    writeFile(scratch / "outside/inner.txt", "i");
    writeFile(scratch / "plug/real.txt", "r");
    fs::create_directory_symlink(scratch / "outside", scratch / "plug/linked");
    fs::create_symlink(scratch / "plug/real.txt", scratch / "plug/alias.txt");
    const auto entries = entriesOf(*makeFileSystemPackage(FileSystem::Path((scratch / "plug").string())));
    EXPECT_EQ(entries[indexOf(entries, "linked")], Entry("linked", Directory, true));
    EXPECT_EQ(entries[indexOf(entries, "linked/inner.txt")], Entry("linked/inner.txt", File, false));
    EXPECT_EQ(entries[indexOf(entries, "alias.txt")], Entry("alias.txt", File, true));
    EXPECT_EQ(entries.size(), 4u);
}

TEST(PackageFileSystem, RootSpelledWithDotDotGivesPathsThatToPackagePathRepairs) {
    ScratchDirectory scratch;
    writeFile(scratch / "plugin/sub/file", "f");
    fs::create_directories(scratch / "work");
    WorkingDirectory cwd(scratch / "work");
    const auto entries = entriesOf(*makeFileSystemPackage(FileSystem::Path("../plugin")));
    std::vector<std::string> converted;
    for (const auto& [path, type, link] : entries) {
        EXPECT_EQ(path.rfind("../plugin/", 0), 0u) << path;
        converted.push_back(FileSystem::toPackagePath(FileSystem::Path(path)).generic_u8string());
    }
    std::sort(converted.begin(), converted.end());
    EXPECT_EQ(converted, (std::vector<std::string>{"sub", "sub/file"}));
}

TEST(PackageFileSystem, KeptListingIsReplayedUntilThePackageChanges) {
    ScratchDirectory scratch;
    writeFile(scratch / "plug/a.txt", "a");
    auto package = makeFileSystemPackage(FileSystem::Path((scratch / "plug").string()));
    static_cast<FileSystemPackage&>(*package).keepListing();
    // Written behind the package's back: the kept listing does not see it.
    writeFile(scratch / "plug/b.txt", "b");
    EXPECT_EQ(entriesOf(*package), (std::vector<Entry>{{"a.txt", File, false}}));
    // A change through the package walks the tree again.
    package->addEntry(FileSystem::Path("c.txt"), Compression::Store);
    auto entries = entriesOf(*package);
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries,
              (std::vector<Entry>{{"a.txt", File, false}, {"b.txt", File, false}, {"c.txt", File, false}}));
}

TEST(PackageTraverseFiles, EachEntryIsDescribedFromOneLook) {
    ScratchDirectory scratch;
    writeFile(scratch / "plug/run.sh", "#!/bin/sh\n");
    fs::permissions(scratch / "plug/run.sh", fs::owner_all);
    writeFile(scratch / "plug/data.txt", "d");
    fs::permissions(scratch / "plug/data.txt", fs::owner_read | fs::owner_write);
    fs::create_symlink(scratch / "plug/run.sh", scratch / "plug/alias");
    fs::create_symlink(scratch / "plug/missing", scratch / "plug/dangling");
    fs::create_directories(scratch / "plug/sub");
    std::vector<std::tuple<std::string, bool, bool, bool, bool, bool>> seen;
    const auto visit = [&](const FileSystem::WalkedEntry& entry) {
        seen.emplace_back(std::string(entry.relative), entry.isSymlink, entry.isDanglingLink,
                          entry.isDirectory, entry.isRegularFile, entry.isExecutable);
        return true;
    };
    FileSystem::traverseFiles(FileSystem::Path((scratch / "plug").string()),
                              makeCallableRef<bool(const FileSystem::WalkedEntry&)>(visit));
    std::sort(seen.begin(), seen.end());
    using Seen = std::tuple<std::string, bool, bool, bool, bool, bool>;
    EXPECT_EQ(seen, (std::vector<Seen>{{"alias", true, false, false, true, true},
                                       {"dangling", true, true, false, false, false},
                                       {"data.txt", false, false, false, true, false},
                                       {"run.sh", false, false, false, true, true},
                                       {"sub", false, false, true, false, true}}));
}

TEST(PackageTraverseFiles, RootMustBeAnExistingDirectory) {
    ScratchDirectory scratch;
    writeFile(scratch / "file", "x");
    const auto never = [](const FileSystem::Path&) { return true; };
    const auto callback = makeCallableRef<bool(const FileSystem::Path&)>(never);
    const std::string missing = (scratch / "missing").string();
    EXPECT_EQ(messageOf<IOError>([&] { FileSystem::traverseFiles(FileSystem::Path(missing), callback); }),
              missing + " does not exist");
    const std::string file = (scratch / "file").string();
    EXPECT_EQ(messageOf<IOError>([&] { FileSystem::traverseFiles(FileSystem::Path(file), callback); }),
              file + " is not a directory");
}

TEST(PackageTraverseFiles, FalseKeepsTheWalkOutOfADirectory) {
    ScratchDirectory scratch;
    writeFile(scratch / "skip/hidden.txt", "h");
    writeFile(scratch / "keep/seen.txt", "s");
    std::vector<std::string> seen;
    const auto visit = [&](const FileSystem::Path& path) {
        seen.push_back(path.boostPath().lexically_relative(scratch.path()).generic_string());
        return path.boostPath().filename() != "skip";
    };
    FileSystem::traverseFiles(FileSystem::Path(scratch.path()),
                              makeCallableRef<bool(const FileSystem::Path&)>(visit));
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<std::string>{"keep", "keep/seen.txt", "skip"}));
}

TEST(PackageTraverseFiles, UnreadableDirectoryIsAnErrorNotAnEmptyWalk) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not restrict the superuser";
    ScratchDirectory scratch;
    writeFile(scratch / "locked/file", "x");
    fs::permissions(scratch / "locked", fs::no_perms);
    const auto visit = [](const FileSystem::Path&) { return true; };
    EXPECT_THROW(FileSystem::traverseFiles(FileSystem::Path(scratch.path()),
                                           makeCallableRef<bool(const FileSystem::Path&)>(visit)),
                 fs::filesystem_error);
    fs::permissions(scratch / "locked", fs::owner_all);
}

TEST(PackageTraverseFiles, EntriesRemovedDuringTheWalkAreSkipped) {
    ScratchDirectory scratch;
    for (const char* name : {"a", "b", "c", "d", "e"})
        writeFile(scratch / "plug" / name / "inner.txt", "x");
    std::vector<std::string> seen;
    const auto visit = [&](const FileSystem::Path& path) {
        seen.push_back(path.boostPath().filename().string());
        // Someone else empties the plug-in while the walk is on its first entry, after the listing
        // was read.
        if (seen.size() == 1) {
            for (const auto& entry : fs::directory_iterator(scratch / "plug"))
                if (entry.path() != path.boostPath())
                    fs::remove_all(entry.path());
        }
        return false;
    };
    EXPECT_NO_THROW(FileSystem::traverseFiles(FileSystem::Path((scratch / "plug").string()),
                                              makeCallableRef<bool(const FileSystem::Path&)>(visit)));
    EXPECT_EQ(seen.size(), 1u);
}
