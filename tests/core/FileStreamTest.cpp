#include "core/Errors.h"
#include "core/streams/FileStreams.h"
#include "core/streams/StdIStream.h"

#include <boost/filesystem.hpp>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace KX;
namespace fs = boost::filesystem;

namespace {
class CoreFileStream : public testing::Test {
protected:
    void SetUp() override {
        _dir = fs::temp_directory_path() / fs::unique_path("kx-core-%%%%%%%%");
        fs::create_directories(_dir);
    }
    void TearDown() override { fs::remove_all(_dir); }
    FileSystem::Path path(const std::string& name) const { return FileSystem::Path((_dir / name).string()); }
    static std::string contentOf(const FileSystem::Path& p) {
        std::ifstream in(p.native(), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    fs::path _dir;
};
} // namespace

TEST_F(CoreFileStream, WriteReadAndResize) {
    const auto file = path("data.bin");
    {
        auto out = openFileForWriting(file, true);
        out->write("hello world", 11);
        EXPECT_TRUE(out->isResizable());
    }
    EXPECT_EQ(contentOf(file), "hello world");

    auto io = openFileForReadWrite(file, FileOpenMode::OpenExisting);
    io->seek(6, std::ios_base::beg);
    io->resize(8);
    EXPECT_EQ(io->seek(0, std::ios_base::cur), 6); // position survives the resize
    char buffer[16];
    EXPECT_EQ(io->read(buffer, sizeof buffer), 2u);
    EXPECT_EQ(std::string(buffer, 2), "wo");
    EXPECT_EQ(io->read(buffer, sizeof buffer), 0u);
    EXPECT_EQ(io->size(), 8);
    io.reset();
    EXPECT_EQ(contentOf(file), "hello wo");

    auto in = openFileForReading(file);
    EXPECT_TRUE(in->isSeekable());
    EXPECT_FALSE(in->isBufferBased());
    EXPECT_EQ(in->size(), 8);
    auto standard = makeStdIStream(*in);
    standard->seekg(6);
    std::string rest;
    *standard >> rest;
    EXPECT_EQ(rest, "wo");
}

TEST_F(CoreFileStream, OpenModes) {
    const auto file = path("modes.bin");
    EXPECT_THROW(openFileForReadWrite(file, FileOpenMode::OpenExisting), std::ios_base::failure);
    openFileForReadWrite(file, FileOpenMode::CreateOrTruncate)->write("abc", 3);
    EXPECT_EQ(contentOf(file), "abc");
    openFileForReadWrite(file, FileOpenMode::CreateOrTruncate);
    EXPECT_EQ(contentOf(file), "");
    EXPECT_THROW(openFileForReading(path("missing")), std::ios_base::failure);
    openFileForWriting(file, false)->write("xy", 2);
    openFileForWriting(file, false)->write("z", 1);
    EXPECT_EQ(contentOf(file), "xyz");
}

TEST_F(CoreFileStream, GetBufferIsAMissingCapability) {
    const auto file = path("cap.bin");
    openFileForWriting(file, true);
    auto in = openFileForReading(file);
    testing::internal::CaptureStderr();
    EXPECT_THROW(in->getBuffer(), AbortException);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Fatal error: The stream doesn't have the requested capability\n");
}

TEST_F(CoreFileStream, OpenInputFileMessages) {
    try {
        openInputFile("", "certificate");
        FAIL();
    } catch (const InvalidArgumentError& e) {
        EXPECT_STREQ(e.what(), "the certificate path is empty");
    }
    try {
        openInputFile("a.pem", "certificate");
        FAIL();
    } catch (const BrokenFileError& e) {
        EXPECT_STREQ(e.what(), "the certificate file 'a.pem' doesn't exist");
    }
    // A directory is refused by name and role before anything reads from it.
    const std::string dir = _dir.string();
    try {
        openInputFile(dir, "private key");
        FAIL() << "a directory must be refused";
    } catch (const BrokenFileError& e) {
        EXPECT_EQ(std::string(e.what()), "the private key file '" + dir + "' is a directory");
    }
    openFileForWriting(path("key.pem"), true)->write("k", 1);
    EXPECT_EQ(openInputFile((_dir / "key.pem").string(), "private key")->size(), 1);
}
