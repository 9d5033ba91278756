#include "integrity/PackageDigest.h"

#include "TestFiles.h"
#include "ZipTestSupport.h"
#include "integrity/DigestFilter.h"
#include "integrity/DigestHex.h"
#include "package/FileSystemPackage.h"

#include <gtest/gtest.h>

using namespace KX;
using namespace KX::PluginAPI;
using namespace KX::Testing;
using CryptographicEngine::HashAlgorithm;

namespace {

const std::string emptyDigest = "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855";
const std::string abcDigest = "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD";

const auto digestFilter =
    makeCallableRef<bool(const FileSystem::Path&, Package::EntryType)>(isExcludedFromDigest);

std::string manifestText(const PackageDigest& manifest) {
    MemoryStream out;
    manifest.writeTo(out, '\n');
    return out.container();
}

PackageDigest parse(const std::string& text) {
    MemoryStream in(text);
    return PackageDigest::readFrom(in, '\n');
}

class PackageDigestTest : public ::testing::Test {
protected:
    std::shared_ptr<Package> plugin() { return makeFileSystemPackage(FileSystem::Path(scratch.path())); }
    PackageDigest manifestOfPlugin() {
        return PackageDigest::create(*plugin(), HashAlgorithm::Sha256, digestFilter);
    }
    std::string verifyError() {
        const PackageDigest manifest = parse(recorded);
        return messageOf<PackageDigestError>(
            [&] { manifest.verify(*plugin(), HashAlgorithm::Sha256, digestFilter); });
    }
    void record() { recorded = manifestText(manifestOfPlugin()); }

    ScratchDirectory scratch;
    std::string recorded;
};

} // namespace

TEST_F(PackageDigestTest, ManifestListsEveryEntryButTheSignatureFilesInPathOrder) {
    writeFile(scratch / "META-INF/LICENSE", "abc");
    writeFile(scratch / "META-INF/.digest", "old manifest");
    writeFile(scratch / "META-INF/.signature", "signature");
    writeFile(scratch / "icon.png", "");
    EXPECT_EQ(manifestText(manifestOfPlugin()), "META-INF\n" + emptyDigest + "\nMETA-INF/LICENSE\n" +
                                                    abcDigest + "\nicon.png\n" + emptyDigest + "\n");
}

TEST_F(PackageDigestTest, KeysSortElementByElement) {
    writeFile(scratch / "a-b", "");
    writeFile(scratch / "a/b", "");
    writeFile(scratch / "B", "");
    std::string keys;
    const PackageDigest manifest = manifestOfPlugin();
    for (const auto& [path, digest] : manifest.records())
        keys += path.generic_u8string() + " ";
    EXPECT_EQ(keys, "B a a/b a-b ");
}

TEST_F(PackageDigestTest, OnlyTheSignatureFilesAndDsStoreAreLeftOut) {
    writeFile(scratch / "META-INF/x", "x");
    fs::create_directories(scratch / "sub");
    record();
    writeFile(scratch / ".DS_Store", "finder");
    writeFile(scratch / "META-INF/.DS_Store", "finder");
    fs::create_directories(scratch / "sub/.DS_Store");
    EXPECT_EQ(manifestText(manifestOfPlugin()), recorded);
    EXPECT_EQ(verifyError(), "(nothing thrown)");

    EXPECT_TRUE(isExcludedFromDigest("META-INF\\.digest", Package::EntryType::File));
    // Any letter case: zip readers find these under the standard names.
    EXPECT_TRUE(isExcludedFromDigest("meta-inf/.DIGEST", Package::EntryType::File));
    EXPECT_TRUE(isExcludedFromDigest("Meta-Inf/.Signature", Package::EntryType::File));
    EXPECT_FALSE(isExcludedFromDigest("META-INF/.digest.old", Package::EntryType::File));
    EXPECT_FALSE(isExcludedFromDigest("x.DS_Store", Package::EntryType::File));
    EXPECT_FALSE(isExcludedFromDigest("a/.ds_store", Package::EntryType::File));
    EXPECT_FALSE(isExcludedFromDigest("META-INF", Package::EntryType::Directory));
}

TEST_F(PackageDigestTest, VerifyNamesTheFirstDifference) {
    writeFile(scratch / "META-INF/LICENSE", "licence");
    writeFile(scratch / "lib/code.js", "code");
    record();
    EXPECT_EQ(verifyError(), "(nothing thrown)");

    writeFile(scratch / "lib/code.js", "cOde");
    EXPECT_EQ(verifyError(), "File signature for file 'lib/code.js' is mismatched.");
    writeFile(scratch / "lib/code.js", "code");

    writeFile(scratch / "lib/extra.js", "");
    EXPECT_EQ(verifyError(), "File 'lib/extra.js' is not found in the signature.");
    fs::remove(scratch / "lib/extra.js");

    fs::remove(scratch / "META-INF/LICENSE");
    EXPECT_EQ(verifyError(), "The package contains not signed files.");
}

TEST_F(PackageDigestTest, ManifestOfADirectoryVerifiesItsZipPackage) {
    writeFile(scratch / "META-INF/LICENSE", "licence");
    writeFile(scratch / "lib/code.js", "code");
    fs::create_directories(scratch / "empty");
    record();
    MemoryStream stream(makeArchive({{"META-INF/", ""},
                                     {"META-INF/LICENSE", "licence"},
                                     {"META-INF/.digest", recorded},
                                     {"lib/", ""},
                                     {"lib/code.js", "code"},
                                     {"empty/", ""}}));
    const auto zipped = makeZippedPackage(stream, ZipOpenMode::OpenOrCreate, false);
    EXPECT_NO_THROW(parse(recorded).verify(*zipped, HashAlgorithm::Sha256, digestFilter));
}

TEST(PackageDigestText, ReadAndWriteAreInverse) {
    const std::string text = "META-INF\n" + emptyDigest + "\nicon.png\n" + abcDigest + "\n";
    EXPECT_EQ(manifestText(parse(text)), text);
    EXPECT_EQ(manifestText(parse("")), "");
    // Lower-case digits are read; upper case is written.
    std::string lower = "a\n" + abcDigest + "\n";
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return static_cast<char>(std::tolower(c)); });
    EXPECT_EQ(manifestText(parse(lower)), "a\n" + abcDigest + "\n");
}

TEST(PackageDigestText, IncompleteLastRecordIsDropped) {
    EXPECT_EQ(parse("a\n" + abcDigest + "\nb\n" + abcDigest).size(), 1u);
    EXPECT_EQ(parse("a\n" + abcDigest + "\nb").size(), 1u);
    EXPECT_EQ(parse("a\n" + abcDigest + "\nb\n").size(), 1u);
}

TEST(PackageDigestText, BadRecordsAreErrors) {
    EXPECT_EQ(messageOf<PackageDigestError>([] { parse("a/b\n00\na\\b\n00\n"); }),
              "File 'a\\b' is already exists in the package.");
    EXPECT_EQ(messageOf<InvalidArgumentError>([] { parse("a\r\n" + abcDigest + "\r\n"); }),
              "Invalid characters");
    EXPECT_EQ(messageOf<InvalidArgumentError>([] { parse("a\nXYZ\n"); }), "Invalid characters");
    // A path that is not UTF-8 fails where it is read, not later as a record without an entry.
    EXPECT_EQ(messageOf<boost::system::system_error>([] {
                  parse("caf\xE9\n" + abcDigest + "\n");
              }).rfind("boost::filesystem::path codecvt to wstring: ", 0),
              0u);
}

TEST_F(PackageDigestTest, DroppedLastRecordShowsInVerify) {
    writeFile(scratch / "a.txt", "a");
    writeFile(scratch / "z.txt", "z");
    record();
    recorded.pop_back();
    EXPECT_EQ(verifyError(), "File 'z.txt' is not found in the signature.");
}
