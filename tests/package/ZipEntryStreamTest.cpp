#include "TestFiles.h"
#include "ZipTestSupport.h"

#include <gtest/gtest.h>
#include <random>

using namespace KX;
using namespace KX::Testing;

namespace {

std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(generator());
    return bytes;
}

} // namespace

TEST(PackageZipStreams, ReadingByteByByteEndsWithZero) {
    MemoryStream stream(makeArchive({{"a.txt", "hello"}}));
    const auto package = makeZippedPackage(stream, ZipOpenMode::OpenOrCreate, false);
    const auto in = package->getEntry("a.txt")->openInputStream();
    std::string read;
    char c = 0;
    while (in->read(&c, 1) == 1)
        read += c;
    EXPECT_EQ(read, "hello");
    EXPECT_EQ(in->read(&c, 1), 0u);
}

TEST(PackageZipStreams, StoredEntriesSeekWithClamping) {
    MemoryStream stream(makeArchive({{"s.bin", "0123456789"}}, Compression::Store));
    const auto package = makeZippedPackage(stream, ZipOpenMode::OpenOrCreate, false);
    const auto in = package->getEntry("s.bin")->openInputStream();
    ASSERT_TRUE(in->isSeekable());
    EXPECT_EQ(in->seek(4, std::ios_base::beg), 4);
    char c = 0;
    ASSERT_EQ(in->read(&c, 1), 1u);
    EXPECT_EQ(c, '4');
    EXPECT_EQ(in->seek(100, std::ios_base::cur), 10);
    EXPECT_EQ(in->read(&c, 1), 0u);
    EXPECT_EQ(in->seek(-3, std::ios_base::end), 7);
    EXPECT_EQ(in->seek(-100, std::ios_base::end), 0);
    EXPECT_EQ(in->seek(-100, std::ios_base::cur), 0);
    EXPECT_EQ(in->seek(99, std::ios_base::beg), 10);
    EXPECT_EQ(in->size(), 10);
}

TEST(PackageZipStreams, EmptyAndDeflatedEntriesAreNotSeekableButReadable) {
    MemoryStream stream(makeArchive({{"empty", ""}, {"deflated.txt", std::string(3000, 'z')}}));
    const auto package = makeZippedPackage(stream, ZipOpenMode::OpenOrCreate, false);
    const auto empty = package->getEntry("empty")->openInputStream();
    EXPECT_FALSE(empty->isSeekable());
    EXPECT_EQ(readAll(*empty), "");
    const auto deflated = package->getEntry("deflated.txt")->openInputStream();
    EXPECT_FALSE(deflated->isSeekable());
    EXPECT_EQ(fatalReportOf([&] { deflated->seek(0, std::ios_base::beg); }),
              "Fatal error: Zip stream is not seekable");
    EXPECT_EQ(readAll(*deflated), std::string(3000, 'z'));
    EXPECT_EQ(fatalReportOf([&] { deflated->getBuffer(); }), "Fatal error: The stream is not buffer-based");
}

TEST(PackageZipStreams, CorruptDeflatedDataFailsTheRead) {
    const std::string content = randomBytes(20000, 1) + std::string(20000, 'x');
    std::string archive = makeArchive({{"c.bin", content}});
    // Damage bytes inside the incompressible part, which deflate keeps as stored blocks: only the CRC
    // check at the end of the entry can notice.
    for (std::size_t i = 2000; i < 2100; ++i)
        archive[i] = static_cast<char>(~archive[i]);
    MemoryStream stream(archive);
    const auto package = makeZippedPackage(stream, ZipOpenMode::OpenExisting, false);
    const auto in = package->getEntry("c.bin")->openInputStream();
    EXPECT_EQ(messageOf<BrokenFileError>([&] { readAll(*in); }), "Cannot read zip entry");
}

TEST(PackageZipStreams, MissingEntriesFailWhenAStreamIsOpened) {
    MemoryStream stream(makeArchive({{"a.txt", "a"}}));
    const auto package = makeZippedPackage(stream, ZipOpenMode::OpenOrCreate, false);
    const auto blob = package->getEntry("x&y");
    EXPECT_EQ(messageOf<BrokenFileError>([&] { blob->openInputStream(); }), "No file name \"x&&y\" in zip");
    EXPECT_EQ(messageOf<BrokenFileError>([&] { blob->openOutputStream(); }),
              "Can't locate file \"x&&y\" in zip");
}

TEST(PackageZipStreams, OutputReplacesContentWithTheRequestedCompression) {
    MemoryStream stream(makeArchive({{"a.txt", "old content"}, {"b.txt", "b"}}));
    {
        const auto package = makeZippedPackage(stream, ZipOpenMode::OpenOrCreate, false);
        {
            const auto out = package->getEntry("a.txt")->openOutputStream();
            out->write("abc", 3);
            EXPECT_FALSE(out->isSeekable());
            EXPECT_FALSE(out->isResizable());
            EXPECT_EQ(fatalReportOf([&] { out->seek(0, std::ios_base::beg); }),
                      "Fatal error: The stream is not seekable");
            EXPECT_EQ(fatalReportOf([&] { out->resize(0); }), "Fatal error: The stream is not resizable");
        }
        const auto out = package->addEntry("b.txt", Compression::Store)->openOutputStream();
        out->write("stored", 6);
    }
    EXPECT_EQ(listArchive(stream.container()),
              (std::vector<ArchivedEntry>{{"a.txt", ZIP_CM_DEFLATE, 3}, {"b.txt", ZIP_CM_STORE, 6}}));
    stream.seek(0, std::ios_base::beg);
    const auto package = makeZippedPackage(stream, ZipOpenMode::OpenOrCreate, false);
    EXPECT_EQ(readEntry(*package, "a.txt"), "abc");
    EXPECT_EQ(readEntry(*package, "b.txt"), "stored");
}

TEST(PackageZipStreams, LargeEntriesRoundTripThroughManySmallWrites) {
    // Mixed compressible and random data, written in uneven pieces and across several chunks.
    std::string content;
    for (int i = 0; i < 4; ++i)
        content +=
            randomBytes(300000, static_cast<unsigned>(i)) + std::string(200000, static_cast<char>('a' + i));
    MemoryStream stream;
    {
        const auto package = makeZippedPackage(stream, ZipOpenMode::CreateNew, false);
        const auto out = package->addEntry("big.bin", Compression::Deflate)->openOutputStream();
        for (std::size_t at = 0; at < content.size();) {
            const std::size_t piece = std::min<std::size_t>(content.size() - at, 1 + at % 70001);
            out->write(content.data() + at, piece);
            at += piece;
        }
    }
    // libzip checks the CRC when the entry is read to its end.
    stream.seek(0, std::ios_base::beg);
    const auto package = makeZippedPackage(stream, ZipOpenMode::OpenOrCreate, false);
    EXPECT_EQ(readEntry(*package, "big.bin"), content);
}

TEST(PackageZipStreams, EntriesWhoseDirectorySizesCannotBeTrueAreRefused) {
    // libzip crashes seeking in such entries or serves them from nothing; a damaged or hostile
    // directory must fail the read instead.
    const std::string archive = makeArchive({{"s.bin", "0123456789"}}, Compression::Store);
    const std::size_t directory = archive.rfind("PK\x01\x02");
    ASSERT_NE(directory, std::string::npos);
    const auto put = [](std::string& bytes, std::size_t at, std::uint32_t value, int width) {
        for (int i = 0; i < width; ++i)
            bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xff);
    };
    struct Damage {
        std::uint16_t method;
        std::uint32_t stored, declared;
        const char* message;
    };
    for (const Damage& damage : {
             Damage{ZIP_CM_STORE, 0, 10, "Zip entry \"s.bin\" is stored in 0 bytes but declares 10"},
             Damage{ZIP_CM_STORE, 10, 65532, "Zip entry \"s.bin\" is stored in 10 bytes but declares 65532"},
             Damage{98 /* PPMd, which libzip cannot decode */, 0, 10,
                    "Zip entry \"s.bin\" is stored in 0 bytes but declares 10"},
         }) {
        std::string damaged = archive;
        put(damaged, 8, damage.method, 2); // the local header must agree on the method
        put(damaged, directory + 10, damage.method, 2);
        put(damaged, directory + 20, damage.stored, 4);
        put(damaged, directory + 24, damage.declared, 4);
        MemoryStream stream(damaged);
        const auto package = makeZippedPackage(stream, ZipOpenMode::OpenExisting, false);
        EXPECT_EQ(messageOf<BrokenFileError>([&] { package->getEntry("s.bin")->openInputStream(); }),
                  damage.message);
    }
}
