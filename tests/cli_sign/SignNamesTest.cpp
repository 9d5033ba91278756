#include "SignFixture.h"

using namespace KX;
using namespace KX::Testing;

namespace {

class SignNames : public SignTest {
protected:
    std::vector<std::string> namesIn(const std::string& file) {
        std::vector<std::string> names;
        for (const auto& entry : listArchive(readFile(scratch / file)))
            names.push_back(entry.name);
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string entryOf(const std::string& file, const std::string& name) {
        MemoryStream stream(readFile(scratch / file));
        const auto package = makeZippedPackage(stream, ZipOpenMode::OpenOrCreate, true);
        return readEntry(*package, name);
    }
};

} // namespace

TEST_F(SignNames, PackageWithNamesDifferingOnlyInCaseIsNotSigned) {
    writeFile(scratch / "twins.xpk", makeArchive({{"META-INF/", ""}, {"a.txt", "a"}, {"A.TXT", "b"}}));
    const std::string before = readFile(scratch / "twins.xpk");
    const auto result = sign("twins.xpk");
    EXPECT_EQ(result.err,
              aborted("The names 'a.txt' and 'A.TXT' differ only in letter case; a package cannot "
                      "hold both"));
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(readFile(scratch / "twins.xpk"), before);

    // The archive is written by Python: the tool itself would store '/' for the '\\'.
    if (!fs::exists("/usr/bin/python3"))
        GTEST_SKIP() << "python3 is not installed";
    writeZipWithPython(scratch / "hostile.xpk", {"META-INF/", "META-INF\\.digest=stale"});
    EXPECT_EQ(sign("hostile.xpk").err,
              aborted("The name 'META-INF\\.digest' cannot be used in a package: '\\' "
                      "separates folders in package names"));
}

TEST_F(SignNames, StaleSignatureFilesInAnotherCaseAreReplacedNotSigned) {
    writeFile(scratch / "stale.xpk", makeArchive({{"Meta-Inf/", ""},
                                                  {"Meta-Inf/.DIGEST", "stale manifest"},
                                                  {"Meta-Inf/.Signature", "stale signature"},
                                                  {"a.txt", "a"}}));
    const auto result = sign("stale.xpk");
    EXPECT_EQ(result.out, signerBlock() + signedLine("stale.xpk"));
    EXPECT_EQ(result.status, 0) << result.err;
    // The folder keeps its spelling, so the package does not unpack into two folders.
    EXPECT_EQ(namesIn("stale.xpk"),
              (std::vector<std::string>{"Meta-Inf/", "Meta-Inf/.digest", "Meta-Inf/.signature", "a.txt"}));
    const std::string manifest = entryOf("stale.xpk", "Meta-Inf/.digest");
    EXPECT_EQ(manifest.find("DIGEST"), std::string::npos) << manifest;
    EXPECT_EQ(manifest.find("Signature"), std::string::npos) << manifest;
    EXPECT_EQ(manifest.rfind("Meta-Inf\n", 0), 0u) << manifest;
    EXPECT_EQ(opensslVerify(entryOf("stale.xpk", "Meta-Inf/.signature"), manifest).status, 0);

    // A directory gets the same: the old files go, the new ones are written beside its other files.
    writeFile(scratch / "dir/Meta-Inf/.Signature", "stale signature");
    writeFile(scratch / "dir/a.txt", "a");
    ASSERT_EQ(sign("dir").status, 0);
    EXPECT_EQ(listing(scratch / "dir/Meta-Inf"), (std::vector<std::string>{".digest", ".signature"}));
    EXPECT_FALSE(fs::exists(scratch / "dir/META-INF"));
}
