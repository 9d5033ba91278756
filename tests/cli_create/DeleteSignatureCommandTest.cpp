#include "PluginFixture.h"

#include <sys/stat.h>

using namespace KX;
using namespace KX::Testing;

namespace {

const std::string digestRemoved = "INFO: The file 'META-INF/.digest' is successfully removed.\n";
const std::string signatureRemoved = "INFO: The file 'META-INF/.signature' is successfully removed.\n";

class DeleteSignatureCommand : public CliTest {
protected:
    // The same plug-in as a directory and as a package file.
    std::vector<std::string> makeBothForms(bool withDigest, bool withSignature) {
        const fs::path root = makePlugin("dir");
        if (withDigest && withSignature) {
            signDirectory(root);
        } else if (withDigest) {
            writeFile(root / "META-INF/.digest", "manifest");
        } else if (withSignature) {
            writeFile(root / "META-INF/.signature", "signature");
        }
        if (withDigest == withSignature) {
            EXPECT_EQ(xpk({"create", "--source=dir", "--package=file"}).status, 0);
        } else {
            // The tool refuses to pack an inconsistent directory; build the package directly.
            std::vector<std::pair<std::string, std::string>> entries{{"META-INF/", ""}, {"a.txt", "a"}};
            if (withDigest)
                entries.emplace_back("META-INF/.digest", "manifest");
            if (withSignature)
                entries.emplace_back("META-INF/.signature", "signature");
            writeFile(scratch / "file.xpk", makeArchive(entries));
        }
        return {"dir", "file.xpk"};
    }
};

} // namespace

TEST_F(DeleteSignatureCommand, NothingToRemovePrintsNothing) {
    for (const auto& package : makeBothForms(false, false)) {
        const auto result = xpk({"deletesignature", "--package=" + package});
        EXPECT_EQ(result.out, "") << package;
        EXPECT_EQ(result.err, "") << package;
        EXPECT_EQ(result.status, 0) << package;
    }
}

TEST_F(DeleteSignatureCommand, OnlyThePresentFileIsReported) {
    for (const auto& package : makeBothForms(false, true)) {
        const auto result = xpk({"deletesignature", "-p" + package});
        EXPECT_EQ(result.out, signatureRemoved) << package;
        EXPECT_EQ(result.status, 0) << package;
    }
}

TEST_F(DeleteSignatureCommand, BothFilesAreRemovedOnceDigestFirst) {
    for (const auto& package : makeBothForms(true, true)) {
        const auto first = xpk({"deletesignature", "--package=" + package});
        EXPECT_EQ(first.out, digestRemoved + signatureRemoved) << package;
        EXPECT_EQ(first.err, "") << package;
        EXPECT_EQ(first.status, 0) << package;
        EXPECT_EQ(xpk({"deletesignature", "--package=" + package}).out, "") << package;
    }
    EXPECT_FALSE(fs::exists(scratch / "dir/META-INF/.digest"));
    EXPECT_TRUE(fs::is_directory(scratch / "dir/META-INF"));
    // The package keeps everything else, and stays a package the tool can read.
    const auto entries = listArchive(readFile(scratch / "file.xpk"));
    EXPECT_EQ(entries.size(), 7u);
    MemoryStream stream(readFile(scratch / "file.xpk"));
    const auto package = makeZippedPackage(stream, ZipOpenMode::OpenOrCreate, false);
    EXPECT_EQ(readEntry(*package, "lib/deep/data.bin"), readFile(scratch / "dir/lib/deep/data.bin"));
    EXPECT_FALSE(package->hasEntry("META-INF/.signature"));
}

TEST_F(DeleteSignatureCommand, PackageFileKeepsItsPermissions) {
    makeBothForms(true, true);
    ::chmod((scratch / "file.xpk").c_str(), 0640);
    ASSERT_EQ(xpk({"deletesignature", "--package=file.xpk"}).status, 0);
    EXPECT_EQ(fs::status(scratch / "file.xpk").permissions(), fs::perms(0640));
    EXPECT_EQ(listing(scratch.path()), (std::vector<std::string>{"dir", "file.xpk"}));
}

TEST_F(DeleteSignatureCommand, FailedRemovalIsReportedOnStandardOutputWithoutFailingTheRun) {
    makePlugin("dir");
    // A directory where the manifest should be cannot be removed like a file.
    writeFile(scratch / "dir/META-INF/.digest/inside", "x");
    writeFile(scratch / "dir/META-INF/.signature", "signature");
    const auto result = xpk({"deletesignature", "--package=dir"});
    EXPECT_EQ(result.out, "ERROR: The file'META-INF/.digest' is not removed.\n" + signatureRemoved);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 0);
    EXPECT_FALSE(fs::exists(scratch / "dir/META-INF/.signature"));
}

TEST_F(DeleteSignatureCommand, UnopenablePackagesFailWithTheFactoryError) {
    const auto missing = xpk({"deletesignature", "--package=missing.xpk"});
    EXPECT_EQ(missing.err, "ERROR: file 'missing.xpk' cannot be opened (failed opening file: No such file or "
                           "directory: iostream error)\nThe command is aborted.\n");
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.status, 1);
    EXPECT_FALSE(fs::exists(scratch / "missing.xpk"));

    const std::string archive =
        makeArchive({{"META-INF/", ""}, {"META-INF/.digest", std::string(3000, 'd')}});
    const std::vector<std::pair<std::string, std::string>> broken{
        {"text.xpk", "not an archive at all"},
        {"eocd.xpk", std::string("PK\x05\x06", 4) + std::string(18, '\0')},
        {"truncated.xpk", archive.substr(0, archive.size() - 30)},
        {"empty.xpk", ""},
    };
    const std::vector<std::string> messages{"Malformed ZIP package", "Malformed ZIP package",
                                            "Cannot open: Not a zip archive", ""};
    for (std::size_t i = 0; i < broken.size(); ++i) {
        const auto& [name, bytes] = broken[i];
        writeFile(scratch / name, bytes);
        const auto result = xpk({"deletesignature", "--package=" + name});
        if (messages[i].empty()) {
            // An empty file is an empty archive: nothing to remove.
            EXPECT_EQ(result.status, 0) << name;
        } else {
            EXPECT_EQ(result.err, "ERROR: " + messages[i] + "\nThe command is aborted.\n") << name;
            EXPECT_EQ(result.status, 1) << name;
        }
        EXPECT_EQ(readFile(scratch / name), bytes) << name;
    }
}

TEST_F(DeleteSignatureCommand, FailedSaveLeavesThePackageByteForByte) {
    makeBothForms(true, true);
    const std::string original = readFile(scratch / "file.xpk");
    ASSERT_GT(original.size(), 16384u);
    CliOptions limited;
    limited.fileSizeLimit = 16384;
    const auto result = xpk({"deletesignature", "--package=file.xpk"}, limited);
    // Nothing is reported as removed when the package could not be written.
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind("ERROR: Package 'file.xpk' cannot be saved, failed writing", 0), 0u)
        << result.err;
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(readFile(scratch / "file.xpk"), original);
    EXPECT_EQ(listing(scratch.path()), (std::vector<std::string>{"dir", "file.xpk"}));
}
