#include "PluginFixture.h"

#include <cstdint>

using namespace KX;
using namespace KX::Testing;

namespace {

std::uint16_t le16(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes.at(at)) |
                                      static_cast<unsigned char>(bytes.at(at + 1)) << 8);
}

std::uint32_t le32(const std::string& bytes, std::size_t at) {
    return le16(bytes, at) | static_cast<std::uint32_t>(le16(bytes, at + 2)) << 16;
}

// One entry as the central directory and its local header describe it.
struct RawEntry {
    std::string name;
    std::uint16_t method;
    std::uint16_t centralFlags;
    std::uint16_t localFlags;
    std::string compressed;
};

std::vector<RawEntry> rawEntries(const std::string& archive) {
    const std::size_t end = archive.rfind(std::string("PK\x05\x06", 4));
    EXPECT_NE(end, std::string::npos);
    std::size_t at = le32(archive, end + 16);
    std::vector<RawEntry> entries;
    for (std::uint16_t i = 0; i < le16(archive, end + 10); ++i) {
        EXPECT_EQ(le32(archive, at), 0x02014b50u);
        RawEntry entry;
        entry.centralFlags = le16(archive, at + 8);
        entry.method = le16(archive, at + 10);
        const std::uint32_t compressedSize = le32(archive, at + 20);
        const std::uint16_t nameLength = le16(archive, at + 28);
        const std::size_t local = le32(archive, at + 42);
        entry.name = archive.substr(at + 46, nameLength);
        entry.localFlags = le16(archive, local + 6);
        const std::size_t data = local + 30 + le16(archive, local + 26) + le16(archive, local + 28);
        entry.compressed = archive.substr(data, compressedSize);
        entries.push_back(entry);
        at += 46 + nameLength + le16(archive, at + 30) + le16(archive, at + 32);
    }
    return entries;
}

class PackageFormat : public CliTest {
protected:
    // unzip and Python's zipfile both test every entry's data and CRC.
    void expectOtherToolsAccept(const std::string& package) {
        const auto unzip = runProgram("/usr/bin/unzip", {"-tqq", (scratch / package).string()});
        EXPECT_EQ(unzip.err, "");
        EXPECT_EQ(unzip.status, 0) << unzip.out;
        const auto python =
            runProgram("/usr/bin/python3",
                       {"-c",
                        "import sys, zipfile\n"
                        "z = zipfile.ZipFile(sys.argv[1])\n"
                        "print(z.testzip())\n"
                        "print(z.read('lib/deep/data.bin') == open(sys.argv[2], 'rb').read())\n",
                        (scratch / package).string(), (scratch / "plug/lib/deep/data.bin").string()});
        EXPECT_EQ(python.err, "");
        EXPECT_EQ(python.out, "None\nTrue\n");
    }
};

} // namespace

TEST_F(PackageFormat, DeflatedEntriesAreMarkedFastAndReadByOtherTools) {
    if (!fs::exists("/usr/bin/unzip") || !fs::exists("/usr/bin/python3"))
        GTEST_SKIP() << "unzip or python3 is not installed";
    makePlugin();
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += "line " + std::to_string(i % 97) + " of a compressible file\n";
    writeFile(scratch / "plug/lib/text.txt", text);
    writeFile(scratch / "plug/lib/empty.txt", "");
    ASSERT_EQ(xpk({"create", "--source=plug"}).status, 0);

    const auto entries = rawEntries(readFile(scratch / "plug.xpk"));
    ASSERT_EQ(entries.size(), 9u);
    for (const auto& entry : entries) {
        // The stream of an empty file is one final empty block, as any deflater writes it.
        if (entry.name == "lib/empty.txt") {
            EXPECT_EQ(entry.compressed, std::string("\x03\x00", 2));
        }
        // Random bytes do not shrink: two stored blocks (65535 bytes, then the final rest), each
        // behind its five-byte header, rather than a Huffman code longer than the data.
        if (entry.name == "lib/deep/data.bin") {
            ASSERT_EQ(entry.compressed.size(), 70000u + 2 * 5);
            EXPECT_EQ(entry.compressed.substr(0, 5), std::string("\x00\xff\xff\x00\x00", 5));
            EXPECT_EQ(entry.compressed.substr(5 + 65535, 5), std::string("\x01\x71\x11\x8e\xee", 5));
        }
        if (entry.method == ZIP_CM_DEFLATE) {
            // General-purpose bits 1 and 2 as 0 and 1: fast compression.
            EXPECT_EQ(entry.centralFlags & 6, 4) << entry.name;
            EXPECT_EQ(entry.localFlags & 6, 4) << entry.name;
        } else {
            EXPECT_TRUE(entry.name.ends_with('/')) << entry.name;
            EXPECT_EQ(entry.centralFlags & 6, 0) << entry.name;
        }
    }
    expectOtherToolsAccept("plug.xpk");
}

TEST_F(PackageFormat, RewrittenPackageKeepsUnchangedEntriesCompressedAsTheyWere) {
    if (!fs::exists("/usr/bin/unzip") || !fs::exists("/usr/bin/python3"))
        GTEST_SKIP() << "unzip or python3 is not installed";
    makePlugin();
    signDirectory(scratch / "plug");
    ASSERT_EQ(xpk({"create", "--source=plug"}).status, 0);
    const auto before = rawEntries(readFile(scratch / "plug.xpk"));

    ASSERT_EQ(xpk({"deletesignature", "--package=plug.xpk"}).status, 0);
    const auto after = rawEntries(readFile(scratch / "plug.xpk"));
    ASSERT_EQ(after.size(), before.size() - 2);
    std::size_t kept = 0;
    for (const auto& entry : after) {
        for (const auto& old : before) {
            if (old.name == entry.name) {
                EXPECT_EQ(entry.compressed, old.compressed) << entry.name;
                EXPECT_EQ(entry.centralFlags, old.centralFlags) << entry.name;
                ++kept;
            }
        }
    }
    EXPECT_EQ(kept, after.size());
    expectOtherToolsAccept("plug.xpk");
}
