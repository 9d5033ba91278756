#include "PluginFixture.h"

#include <sys/stat.h>
#include <unistd.h>

using namespace KX;
using namespace KX::Testing;

namespace {

std::string unsignedCreated(const std::string& destination) {
    return "WARNING: the created package is not signed\nINFO: The package file '" + destination +
           "' is created\n";
}

std::string aborted(const std::string& message) {
    return "ERROR: " + message + "\nThe command is aborted.\n";
}

class CreateCommand : public CliTest {};

} // namespace

TEST_F(CreateCommand, UnsignedDirectoryBecomesAZipWithEveryEntry) {
    makePlugin();
    const auto result = xpk({"create", "--source=plug"});
    EXPECT_EQ(result.out, unsignedCreated("plug.xpk"));
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 0);

    const auto entries = listArchive(readFile(scratch / "plug.xpk"));
    std::vector<std::string> names;
    for (const auto& entry : entries) {
        names.push_back(entry.name);
        if (!entry.name.ends_with('/')) {
            EXPECT_EQ(entry.method, ZIP_CM_DEFLATE) << entry.name;
        }
    }
    const auto position = [&](const std::string& name) {
        return std::find(names.begin(), names.end(), name) - names.begin();
    };
    std::vector<std::string> sorted = names;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::string>{"META-INF/", "META-INF/LICENSE", "empty/", "lib/",
                                                "lib/code.js", "lib/deep/", "lib/deep/data.bin"}));
    EXPECT_LT(position("lib/"), position("lib/deep/"));
    EXPECT_LT(position("lib/deep/"), position("lib/deep/data.bin"));

    MemoryStream stream(readFile(scratch / "plug.xpk"));
    const auto package = makeZippedPackage(stream, ZipOpenMode::OpenOrCreate, false);
    EXPECT_EQ(readEntry(*package, "lib/deep/data.bin"), readFile(scratch / "plug/lib/deep/data.bin"));
}

TEST_F(CreateCommand, PackageIsAnOrdinaryZipForOtherTools) {
    if (!fs::exists("/usr/bin/python3"))
        GTEST_SKIP() << "python3 is not installed";
    makePlugin();
    writeFile(scratch / "plug/lib/r\xC3\xA9sum\xC3\xA9.txt", "accents");
    ASSERT_EQ(xpk({"create", "--source=plug"}).status, 0);
    const auto check =
        runProgram("/usr/bin/python3", {"-c",
                                        "import sys, zipfile\n"
                                        "z = zipfile.ZipFile(sys.argv[1])\n"
                                        "assert z.testzip() is None\n"
                                        "print(sorted(i.filename for i in z.infolist() if i.is_dir()))\n"
                                        "print(z.read('lib/r\\u00e9sum\\u00e9.txt').decode())\n",
                                        (scratch / "plug.xpk").string()});
    EXPECT_EQ(check.err, "");
    EXPECT_EQ(check.out, "['META-INF/', 'empty/', 'lib/', 'lib/deep/']\naccents\n");
}

TEST_F(CreateCommand, DestinationIsNamedAfterThePackageOptionOrTheSource) {
    makePlugin("plugins/foo");
    makePlugin("foo.beta");
    fs::create_directories(scratch / "out");
    EXPECT_EQ(xpk({"create", "--source=plugins/foo", "--package=out/name"}).out,
              unsignedCreated("out/name.xpk"));
    EXPECT_EQ(xpk({"create", "--source=plugins/foo", "-pname.zip"}).out, unsignedCreated("name.xpk"));
    EXPECT_EQ(xpk({"create", "--source=plugins/foo", "--package=a.b.c"}).out, unsignedCreated("a.b.xpk"));
    EXPECT_EQ(xpk({"create", "--source=plugins/foo"}).out, unsignedCreated("plugins/foo.xpk"));
    EXPECT_EQ(xpk({"create", "-sfoo.beta"}).out, unsignedCreated("foo.xpk"));
    // A trailing separator still names the directory, and the package goes beside it.
    EXPECT_EQ(xpk({"create", "--source=foo.beta/", "--delete"}).status, 0);
    EXPECT_TRUE(fs::exists(scratch / "foo.xpk"));
    EXPECT_FALSE(fs::exists(scratch / "foo.beta/.xpk"));
    for (const char* made : {"out/name.xpk", "name.xpk", "a.b.xpk", "plugins/foo.xpk", "foo.xpk"})
        EXPECT_EQ(listArchive(readFile(scratch / made)).size(), 7u) << made;
}

TEST_F(CreateCommand, BadSourcesAreRefusedBeforeTheDestinationIsLookedAt) {
    writeFile(scratch / "file.txt", "x");
    fs::create_directories(scratch / "nometa/lib");
    writeFile(scratch / "nometa.xpk", "existing");
    const auto missing = xpk({"create", "--source=nope"});
    EXPECT_EQ(missing.err, aborted("The source path 'nope' must be a directory"));
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(xpk({"create", "--source=file.txt"}).err,
              aborted("The source path 'file.txt' must be a directory"));
    const auto noMeta = xpk({"create", "--source=nometa"});
    EXPECT_EQ(noMeta.err, aborted("The package doesn't contain the required directory 'META-INF'"));
    EXPECT_EQ(noMeta.status, 1);
}

TEST_F(CreateCommand, ExistingDestinationNeedsTheDeleteOption) {
    makePlugin();
    writeFile(scratch / "plug.xpk", "old");
    const auto refused = xpk({"create", "--source=plug"});
    EXPECT_EQ(refused.err, aborted("The destination file 'plug.xpk' exists"));
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(readFile(scratch / "plug.xpk"), "old");

    ::chmod((scratch / "plug.xpk").c_str(), 0604);
    const auto replaced = xpk({"create", "--source=plug", "-d"});
    EXPECT_EQ(replaced.out,
              "INFO: The file 'plug.xpk' exists and will be deleted\n" + unsignedCreated("plug.xpk"));
    EXPECT_EQ(replaced.status, 0);
    EXPECT_EQ(listArchive(readFile(scratch / "plug.xpk")).size(), 7u);
    EXPECT_EQ(fs::status(scratch / "plug.xpk").permissions(), fs::perms(0604));
}

TEST_F(CreateCommand, SignedDirectoryIsVerifiedAndCopiedWhole) {
    makePlugin();
    signDirectory(scratch / "plug");
    // Finder's files never take part in the manifest, but are packed like everything else.
    writeFile(scratch / "plug/lib/.DS_Store", "finder");
    const auto result = xpk({"create", "--source=plug"});
    EXPECT_EQ(result.out, "INFO: A digest of the package is successfully verified\n"
                          "INFO: The package file 'plug.xpk' is created\n");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 0);
    MemoryStream stream(readFile(scratch / "plug.xpk"));
    const auto package = makeZippedPackage(stream, ZipOpenMode::OpenOrCreate, false);
    EXPECT_EQ(readEntry(*package, "META-INF/.digest"), readFile(scratch / "plug/META-INF/.digest"));
    EXPECT_EQ(readEntry(*package, "META-INF/.signature"), "detached signature bytes");
    EXPECT_TRUE(package->hasEntry("lib/.DS_Store"));
}

TEST_F(CreateCommand, InconsistentOrMismatchedSignatureWritesNothing) {
    makePlugin();
    writeFile(scratch / "plug/META-INF/.signature", "signature without manifest");
    const auto inconsistent = xpk({"create", "--source=plug"});
    EXPECT_EQ(inconsistent.err,
              aborted("The package doesn't contain correct signature files, please sign package again"));
    EXPECT_EQ(inconsistent.status, 1);
    EXPECT_FALSE(fs::exists(scratch / "plug.xpk"));

    signDirectory(scratch / "plug");
    writeFile(scratch / "plug/lib/code.js", "tampered");
    writeFile(scratch / "plug.xpk", "old package");
    const auto mismatched = xpk({"create", "--source=plug", "--delete"});
    // The deletion notice comes first; the old file survives the failed check.
    EXPECT_EQ(mismatched.out, "INFO: The file 'plug.xpk' exists and will be deleted\n");
    EXPECT_EQ(mismatched.err, aborted("File signature for file 'lib/code.js' is mismatched."));
    EXPECT_EQ(mismatched.status, 1);
    EXPECT_EQ(readFile(scratch / "plug.xpk"), "old package");

    writeFile(scratch / "plug/META-INF/.digest", "lib/code.js\r\nAB\r\n");
    EXPECT_EQ(xpk({"create", "--source=plug", "--delete"}).err, aborted("Invalid characters"));
}

TEST_F(CreateCommand, UnwritableDestinationIsReportedAndLeavesNothing) {
    makePlugin();
    writeFile(scratch / "notadir", "a file where a folder should be");
    const auto result = xpk({"create", "--source=plug", "--package=notadir/out"});
    EXPECT_EQ(result.err,
              aborted("Package 'notadir/out.xpk' cannot be created, failed creating a temporary file in "
                      "'notadir': Not a directory"));
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.status, 1);

    if (::geteuid() == 0)
        return; // permissions do not restrict the superuser
    fs::create_directories(scratch / "readonly");
    fs::permissions(scratch / "readonly", fs::owner_read | fs::owner_exe);
    const auto readOnly = xpk({"create", "--source=plug", "--package=readonly/out"});
    EXPECT_EQ(readOnly.err,
              aborted("Package 'readonly/out.xpk' cannot be created, failed creating a temporary file "
                      "in 'readonly': Permission denied"));
    EXPECT_EQ(readOnly.status, 1);
    fs::permissions(scratch / "readonly", fs::owner_all);
}

TEST_F(CreateCommand, WriteFailureKeepsTheOldPackageAndLeavesNoPartialFile) {
    makePlugin();
    writeFile(scratch / "plug.xpk", "old package");
    const auto before = listing(scratch.path());
    CliOptions limited;
    limited.fileSizeLimit = 16384; // the package needs more than this
    const auto result = xpk({"create", "--source=plug", "--delete"}, limited);
    EXPECT_EQ(result.out, "INFO: The file 'plug.xpk' exists and will be deleted\n");
    EXPECT_EQ(result.err.rfind("ERROR: Package 'plug.xpk' cannot be created, failed writing", 0), 0u)
        << result.err;
    EXPECT_TRUE(result.err.ends_with("File too large: iostream error\nThe command is aborted.\n"))
        << result.err;
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(readFile(scratch / "plug.xpk"), "old package");
    EXPECT_EQ(listing(scratch.path()), before);

    fs::remove(scratch / "plug.xpk");
    EXPECT_EQ(xpk({"create", "--source=plug"}, limited).status, 1);
    EXPECT_EQ(listing(scratch.path()), std::vector<std::string>{"plug"});
}

TEST_F(CreateCommand, DestinationInsideTheSourceIsNotPackedIntoItself) {
    makePlugin();
    ASSERT_EQ(xpk({"create", "--source=plug", "--package=plug/self"}).status, 0);
    ASSERT_EQ(xpk({"create", "--source=plug", "--package=plug/self", "--delete"}).status, 0);
    for (const auto& entry : listArchive(readFile(scratch / "plug/self.xpk")))
        EXPECT_EQ(entry.name.find("self"), std::string::npos) << entry.name;
}
