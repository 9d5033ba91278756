// Packages built to exhaust the tool: an entry that inflates to 1 GiB is digested as a stream, in
// bounded memory, and an archive that claims millions of entries is refused cleanly.

#include "DeflateBomb.h"
#include "SignFixture.h"

#include <sys/resource.h>

namespace KX::Testing {
namespace {

class HostilePackage : public SignTest {};

// The largest resident size of any child waited for so far, in bytes.
long largestChildResidentBytes() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss * 1024L;
}

TEST_F(HostilePackage, AnEntryInflatingToAGibibyteIsSignedInBoundedMemory) {
    const std::string bomb =
        zipWithBomb({{"META-INF/LICENSE", "Licensed to everyone.\n"}}, "zeros.bin", 1024);
    ASSERT_LT(bomb.size(), 4u << 20);
    writeFile(scratch / "bomb.xpk", bomb);
    const auto result = sign("bomb.xpk");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 0) << result.out;
    // Inflating the entry into memory would take 1 GiB; streaming it takes a buffer.
    EXPECT_LT(largestChildResidentBytes(), 256L << 20);
    const auto entries = listArchive(readFile(scratch / "bomb.xpk"));
    // Kept as it was, compressed, beside the license and the signature files.
    EXPECT_NE(
        std::find(entries.begin(), entries.end(), ArchivedEntry{"zeros.bin", ZIP_CM_DEFLATE, 1ull << 30}),
        entries.end());
    EXPECT_EQ(entries.size(), 5u);
    MemoryStream signedBytes(readFile(scratch / "bomb.xpk"));
    const auto signedPackage = makeZippedPackage(signedBytes, ZipOpenMode::OpenExisting, false);
    // SHA-256 of 2^30 zero bytes.
    EXPECT_NE(readEntry(*signedPackage, "META-INF/.digest")
                  .find("zeros.bin\n49BC20DF15E412A64472421E13FE86FF1C5165E18B2AFCCF160D4DC19FE68A14\n"),
              std::string::npos);
}

TEST_F(HostilePackage, AnArchiveClaimingTenMillionEntriesIsRefused) {
    const std::string archive = claimEntries(zipWithBomb({{"a.txt", "a"}}, "b.bin", 1), 10'000'000);
    writeFile(scratch / "many.xpk", archive);
    const auto result = xpk({"deletesignature", "--package=many.xpk"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(result.err.starts_with("ERROR: ")) << result.err;
    EXPECT_EQ(readFile(scratch / "many.xpk"), archive);
}

} // namespace
} // namespace KX::Testing
