#include "PluginFixture.h"

#include <sys/stat.h>
#include <unistd.h>

using namespace KX;
using namespace KX::Testing;

namespace {

std::string aborted(const std::string& message) {
    return "ERROR: " + message + "\nThe command is aborted.\n";
}

std::string caseTwins(const std::string& first, const std::string& second) {
    return aborted("The names '" + first + "' and '" + second +
                   "' differ only in letter case; a package cannot hold both");
}

std::string unusableName(const std::string& name, const std::string& reason) {
    return aborted("The name '" + name + "' cannot be used in a package: " + reason);
}

class PackageNames : public CliTest {
protected:
    // Runs create on plug and expects it to fail with the message, leaving no package and no
    // temporary file behind.
    void expectCreateRefused(const std::string& message) {
        const auto result = xpk({"create", "--source=plug"});
        EXPECT_EQ(result.err, message);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(listing(scratch.path()), std::vector<std::string>{"plug"});
    }

    // The same for two names differing in case, which the walk may meet in either order.
    void expectCreateRefusedAsTwins(const std::string& first, const std::string& second) {
        const auto result = xpk({"create", "--source=plug"});
        EXPECT_TRUE(result.err == caseTwins(first, second) || result.err == caseTwins(second, first))
            << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(listing(scratch.path()), std::vector<std::string>{"plug"});
    }

    // Runs deletesignature on the package file and expects it to fail with the message, the file
    // unchanged.
    void expectDeleteRefused(const std::string& file, const std::string& message) {
        const std::string before = readFile(scratch / file);
        const auto result = xpk({"deletesignature", "--package=" + file});
        EXPECT_EQ(result.err, message) << file;
        EXPECT_EQ(result.out, "") << file;
        EXPECT_EQ(result.status, 1) << file;
        EXPECT_EQ(readFile(scratch / file), before) << file;
    }

    static bool havePython() { return fs::exists("/usr/bin/python3"); }
};

} // namespace

TEST_F(PackageNames, CreateRefusesNamesDifferingOnlyInCase) {
    makePlugin();
    writeFile(scratch / "plug/README", "upper");
    writeFile(scratch / "plug/readme", "lower");
    expectCreateRefusedAsTwins("plug/README", "plug/readme");
    fs::remove(scratch / "plug/readme");

    // Folders, and a folder beside META-INF, are names like any other.
    fs::create_directories(scratch / "plug/Lib");
    expectCreateRefusedAsTwins("plug/lib", "plug/Lib");
    fs::remove(scratch / "plug/Lib");
    writeFile(scratch / "plug/meta-inf/x", "x");
    expectCreateRefusedAsTwins("plug/META-INF", "plug/meta-inf");
    fs::remove_all(scratch / "plug/meta-inf");

    // A second manifest in another case would be what a reader on Windows takes for the manifest.
    signDirectory(scratch / "plug");
    writeFile(scratch / "plug/META-INF/.DIGEST", "other manifest");
    expectCreateRefusedAsTwins("plug/META-INF/.digest", "plug/META-INF/.DIGEST");
}

TEST_F(PackageNames, SignatureFilesInAnotherCaseAreTheSignatureFiles) {
    makePlugin();
    signDirectory(scratch / "plug");
    fs::rename(scratch / "plug/META-INF/.digest", scratch / "plug/META-INF/.Digest");
    // Checked as the manifest, and kept out of it.
    const auto created = xpk({"create", "--source=plug"});
    EXPECT_EQ(created.out, "INFO: A digest of the package is successfully verified\n"
                           "INFO: The package file 'plug.xpk' is created\n");
    EXPECT_EQ(created.status, 0) << created.err;
    fs::remove(scratch / "plug/META-INF/.signature");
    EXPECT_EQ(xpk({"create", "--source=plug", "--delete"}).err,
              aborted("The package doesn't contain correct signature files, please sign package again"));

    // deletesignature removes them, from a directory and from a package.
    const auto fromDirectory = xpk({"deletesignature", "--package=plug"});
    EXPECT_EQ(fromDirectory.out, "INFO: The file 'META-INF/.Digest' is successfully removed.\n");
    EXPECT_FALSE(fs::exists(scratch / "plug/META-INF/.Digest"));
    writeFile(scratch / "old.xpk", makeArchive({{"Meta-Inf/", ""},
                                                {"Meta-Inf/.DIGEST", "manifest"},
                                                {"Meta-Inf/.Signature", "signature"},
                                                {"a.txt", "a"}}));
    const auto fromPackage = xpk({"deletesignature", "--package=old.xpk"});
    EXPECT_EQ(fromPackage.out, "INFO: The file 'Meta-Inf/.DIGEST' is successfully removed.\n"
                               "INFO: The file 'Meta-Inf/.Signature' is successfully removed.\n");
    EXPECT_EQ(fromPackage.status, 0);
    std::vector<std::string> names;
    for (const auto& entry : listArchive(readFile(scratch / "old.xpk")))
        names.push_back(entry.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Meta-Inf/", "a.txt"}));
}

TEST_F(PackageNames, PackagesWithNamesDifferingOnlyInCaseAreNotTouched) {
    writeFile(scratch / "twins.xpk", makeArchive({{"META-INF/", ""},
                                                  {"META-INF/.digest", "manifest"},
                                                  {"META-INF/.signature", "signature"},
                                                  {"a.txt", "a"},
                                                  {"A.TXT", "b"}}));
    expectDeleteRefused("twins.xpk", caseTwins("a.txt", "A.TXT"));
    // Folders implied by the names count too: these would unpack into two folders on Linux.
    writeFile(scratch / "folders.xpk", makeArchive({{"docs/a", "a"}, {"Docs/b", "b"}}));
    expectDeleteRefused("folders.xpk", caseTwins("docs", "Docs"));
    writeFile(scratch / "both.xpk", makeArchive({{"x", "file"}, {"x/y", "below"}}));
    expectDeleteRefused("both.xpk",
                        aborted("The name 'x' is used for both a file and a folder in the package"));
}

TEST_F(PackageNames, CreateRefusesFilesItCannotPackUnderTheirOwnName) {
    makePlugin();
    // Beside the folder a holding b, "a\b" would become a second a/b.
    writeFile(scratch / "plug/a/b", "in a folder");
    writeFile(scratch / "plug/a\\b", "backslash");
    expectCreateRefused(unusableName("plug/a\\b", "'\\' separates folders in package names"));
    fs::remove_all(scratch / "plug/a");
    expectCreateRefused(unusableName("plug/a\\b", "'\\' separates folders in package names"));
    fs::remove(scratch / "plug/a\\b");

    writeFile(scratch / "plug/lib/caf\xE9.txt", "latin-1 name");
    expectCreateRefused(unusableName("plug/lib/caf\\xE9.txt", "the name is not valid UTF-8"));
    fs::remove(scratch / "plug/lib/caf\xE9.txt");

    fs::create_symlink("nowhere", scratch / "plug/lib/link");
    expectCreateRefused(
        aborted("The file 'plug/lib/link' cannot be put in a package: it is a symbolic link to nothing"));
    fs::remove(scratch / "plug/lib/link");

    // Reading a pipe would never end.
    ASSERT_EQ(::mkfifo((scratch / "plug/lib/pipe").c_str(), 0644), 0);
    expectCreateRefused(
        aborted("The file 'plug/lib/pipe' cannot be put in a package: it is not a regular file"));
}

TEST_F(PackageNames, HostileArchivesAreRefusedAsTheyAre) {
    if (!havePython())
        GTEST_SKIP() << "python3 is not installed";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"META-INF/", "=no name"}, unusableName("", "the name is empty")},
        {{"/", "META-INF/.digest=manifest"}, unusableName("/", "the name is only a separator")},
        {{"META-INF/", "META-INF\\.digest=manifest"},
         unusableName("META-INF\\.digest", "'\\' separates folders in package names")},
        {{"META-INF/", "META-INF//.signature=signature"},
         unusableName("META-INF//.signature", "the name has an empty element")},
        {{"/etc/motd=outside"}, unusableName("/etc/motd", "the name starts with a separator")},
        {{"a/../../x=outside"}, unusableName("a/../../x", "the name has a '.' or '..' element")},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const std::string file = "hostile" + std::to_string(i) + ".xpk";
        writeZipWithPython(scratch / file, cases[i].first);
        expectDeleteRefused(file, cases[i].second);
    }
}

TEST_F(PackageNames, ManifestPathThatIsNotUtf8FailsWhereItIsRead) {
    makePlugin();
    signDirectory(scratch / "plug");
    const std::string manifest = readFile(scratch / "plug/META-INF/.digest");
    writeFile(scratch / "plug/META-INF/.digest", "caf\xE9\n" + std::string(64, '0') + "\n" + manifest);
    const auto result = xpk({"create", "--source=plug"});
    EXPECT_EQ(result.err,
              aborted("boost::filesystem::path codecvt to wstring: Invalid or incomplete multibyte or "
                      "wide character"));
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(listing(scratch.path()), std::vector<std::string>{"plug"});
}

TEST_F(PackageNames, EntriesCarryUnixPermissionsAnOrdinaryUserCanUnpack) {
    makePlugin();
    writeFile(scratch / "plug/lib/run.sh", "#!/bin/sh\necho run\n");
    ::chmod((scratch / "plug/lib/run.sh").c_str(), 0750);
    ::chmod((scratch / "plug/lib/code.js").c_str(), 0600);
    ASSERT_EQ(xpk({"create", "--source=plug"}).status, 0);
    const std::string package = (scratch / "plug.xpk").string();
    if (havePython()) {
        const auto modes =
            runPython("import sys, zipfile\n"
                      "for i in sorted(zipfile.ZipFile(sys.argv[1]).infolist(), key=lambda i: i.filename):\n"
                      "    print(i.filename, oct(i.external_attr >> 16), i.create_system)\n",
                      {package});
        EXPECT_EQ(modes.err, "");
        EXPECT_EQ(modes.out, "META-INF/ 0o40755 3\nMETA-INF/LICENSE 0o100644 3\nempty/ 0o40755 3\n"
                             "lib/ 0o40755 3\nlib/code.js 0o100644 3\nlib/deep/ 0o40755 3\n"
                             "lib/deep/data.bin 0o100644 3\nlib/run.sh 0o100755 3\n");
    }
    if (!fs::exists("/usr/bin/unzip"))
        GTEST_SKIP() << "unzip is not installed";
    const auto listed = runProgram("/usr/bin/unzip", {"-Z", package});
    EXPECT_NE(listed.out.find("drwxr-xr-x  6.3 unx        0 b- stor"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("-rwxr-xr-x  6.3 unx       19 b- defF"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("-rw-r--r--  6.3 unx    70000 b- defF"), std::string::npos) << listed.out;

    // An ordinary user unpacks it and reads a file below a folder entry.
    if (::geteuid() != 0 || !fs::exists("/usr/bin/setpriv"))
        GTEST_SKIP() << "needs root and setpriv to run unzip as another user";
    const fs::path out = scratch / "unpacked";
    fs::create_directories(out);
    ASSERT_EQ(::chown(out.c_str(), 65534, 65534), 0);
    const auto unpacked =
        runProgram("/usr/bin/setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", "/usr/bin/unzip",
                                        "-q", package, "-d", out.string()});
    EXPECT_EQ(unpacked.status, 0) << unpacked.err;
    const auto read = runProgram("/usr/bin/setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups",
                                                      "/bin/cat", (out / "META-INF/LICENSE").string()});
    EXPECT_EQ(read.out, "Licensed to everyone.\n") << read.err;
    EXPECT_EQ(read.status, 0);
}

TEST_F(PackageNames, ExistingEntriesKeepTheirPermissions) {
    MemoryStream stream(makeArchive(
        {{"META-INF/", ""}, {"META-INF/.digest", "d"}, {"META-INF/.signature", "s"}, {"private.txt", "p"}}));
    {
        const auto package = makeZippedPackage(stream, ZipOpenMode::OpenOrCreate, false);
        std::static_pointer_cast<ZippedPackage>(package)->setUnixPermissions("private.txt", 0600);
    }
    writeFile(scratch / "kept.xpk", stream.container());
    ASSERT_EQ(xpk({"deletesignature", "--package=kept.xpk"}).status, 0);
    const auto listed = fs::exists("/usr/bin/unzip")
                            ? runProgram("/usr/bin/unzip", {"-Z", (scratch / "kept.xpk").string()}).out
                            : std::string("-rw-------");
    EXPECT_NE(listed.find("-rw-------"), std::string::npos) << listed;
    EXPECT_NE(listed.find("drwxr-xr-x"), std::string::npos) << listed;
}

TEST_F(PackageNames, CreatingAgainIntoTheSignedSourceSkipsTheEarlierPackage) {
    makePlugin("in");
    signDirectory(scratch / "in");
    const std::string created = "INFO: A digest of the package is successfully verified\n"
                                "INFO: The package file 'in/inner.xpk' is created\n";
    const auto first = xpk({"create", "--source=in", "--package=in/inner", "--delete"});
    EXPECT_EQ(first.out, created);
    EXPECT_EQ(first.status, 0) << first.err;
    const auto second = xpk({"create", "--source=in", "--package=in/inner", "--delete"});
    EXPECT_EQ(second.out, "INFO: The file 'in/inner.xpk' exists and will be deleted\n" + created);
    EXPECT_EQ(second.err, "");
    EXPECT_EQ(second.status, 0);
    for (const auto& entry : listArchive(readFile(scratch / "in/inner.xpk")))
        EXPECT_EQ(entry.name.find("inner"), std::string::npos) << entry.name;
}
