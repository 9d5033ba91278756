#include "core/Errors.h"
#include "core/streams/ContainerBasedInOutStream.h"
#include "core/streams/StdIStream.h"

#include <boost/container/vector.hpp>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace KX;
using StringStream = ContainerBasedInOutStream<std::string>;

namespace {
std::string readAll(InputStream& in) {
    std::string result;
    char buffer[7];
    while (std::size_t n = in.read(buffer, sizeof buffer))
        result.append(buffer, n);
    return result;
}

// Records every write, so chunking is visible.
class RecordingOutput final : public OutputStream {
public:
    std::vector<std::size_t> writes;
    std::string content;
    std::int64_t write(const void* data, std::size_t count) override {
        writes.push_back(count);
        content.append(static_cast<const char*>(data), count);
        return static_cast<std::int64_t>(count);
    }
    bool isBufferBased() const override { return false; }
    bool isSeekable() const override { return false; }
    std::int64_t seek(std::int64_t, std::ios_base::seekdir) override { fatalError("not seekable"); }
    bool isResizable() const override { return false; }
    void resize(std::size_t) override { fatalError("not resizable"); }
};

// A source that offers its whole content as one buffer.
class BufferInput final : public InputStream {
public:
    explicit BufferInput(std::string text) : _text(std::move(text)) {}
    std::size_t read(void*, std::size_t) override { return 0; }
    bool isBufferBased() const override { return true; }
    std::pair<const char*, const char*> getBuffer() override { return {_text.data(), _text.data() + _text.size()}; }
    bool isSeekable() const override { return true; }
    std::int64_t seek(std::int64_t offset, std::ios_base::seekdir origin) override {
        _position = (origin == std::ios_base::beg ? 0 : origin == std::ios_base::cur ? _position
                                                                                      : std::int64_t(_text.size())) +
                    offset;
        return _position;
    }

private:
    std::string _text;
    std::int64_t _position = 0;
};

// Neither buffer-based nor seekable.
class ForwardInput final : public InputStream {
public:
    explicit ForwardInput(std::string text) : _inner(std::move(text)) {}
    std::size_t read(void* buffer, std::size_t count) override { return _inner.read(buffer, count); }
    bool isBufferBased() const override { return false; }
    bool isSeekable() const override { return false; }
    std::int64_t seek(std::int64_t, std::ios_base::seekdir) override { fatalError("not seekable"); }

private:
    StringStream _inner;
};
} // namespace

TEST(CoreContainerStream, EmptyStream) {
    StringStream s;
    char c;
    EXPECT_EQ(s.read(&c, 1), 0u);
    EXPECT_EQ(s.size(), 0);
    EXPECT_EQ(s.seek(5, std::ios_base::beg), 0);
    EXPECT_FALSE(s.isBufferBased());
    EXPECT_TRUE(s.isSeekable());
    EXPECT_TRUE(s.isResizable());
}

TEST(CoreContainerStream, OverwritesThenAppendsAndSharesThePosition) {
    StringStream s;
    s.write("abc", 3);
    EXPECT_EQ(s.seek(1, std::ios_base::beg), 1);
    s.write("XYZ", 3);
    EXPECT_EQ(s.container(), "aXYZ");
    EXPECT_EQ(s.seek(0, std::ios_base::cur), 4);
    s.seek(1, std::ios_base::beg);
    EXPECT_EQ(readAll(s), "XYZ");
}

TEST(CoreContainerStream, SeekClampsToTheContent) {
    StringStream s(std::string("abcd"));
    EXPECT_EQ(s.seek(-10, std::ios_base::end), 0);
    s.seek(2, std::ios_base::beg);
    EXPECT_EQ(s.seek(10, std::ios_base::cur), 4);
    EXPECT_EQ(s.seek(-1, std::ios_base::end), 3);
}

TEST(CoreContainerStream, ResizeKeepsThePosition) {
    StringStream s(std::string("abcd"));
    s.seek(4, std::ios_base::beg);
    s.resize(2);
    s.write("Q", 1);
    EXPECT_EQ(s.container(), std::string("abQ"));
    char c;
    EXPECT_EQ(s.read(&c, 1), 0u);

    StringStream grown(std::string("abcd"));
    grown.seek(1, std::ios_base::beg);
    grown.resize(6);
    EXPECT_EQ(grown.container(), std::string("abcd\0\0", 6));
    EXPECT_EQ(grown.seek(0, std::ios_base::cur), 1);
}

TEST(CoreContainerStream, SizeLeavesThePosition) {
    ContainerBasedInOutStream<boost::container::vector<char>> s;
    s.write("0123456789", 10);
    s.seek(7, std::ios_base::beg);
    EXPECT_EQ(s.size(), 10);
    EXPECT_EQ(s.seek(0, std::ios_base::cur), 7);
}

TEST(CoreContainerStream, GetBufferPerHalf) {
    StringStream s(std::string("abc"));
    InputStream& in = s;
    EXPECT_EQ(in.getBuffer(), (std::pair<const char*, const char*>{nullptr, nullptr}));
    OutputStream& out = s;
    testing::internal::CaptureStderr();
    EXPECT_THROW(out.getBuffer(), AbortException);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Fatal error: The stream is not buffer-based\n");
}

TEST(CoreCopyTo, CopiesIn64KiBChunks) {
    StringStream big(std::string(100000, 'x'));
    RecordingOutput out;
    big.copyTo(out, -1);
    EXPECT_EQ(out.writes, (std::vector<std::size_t>{65536, 34464}));
    EXPECT_EQ(out.content.size(), 100000u);

    StringStream exact(std::string(65536, 'y'));
    RecordingOutput out2;
    exact.copyTo(out2, 0);
    EXPECT_EQ(out2.writes, (std::vector<std::size_t>{65536, 0}));
}

TEST(CoreCopyTo, StopsAtTheCount) {
    StringStream s(std::string(100, 'z'));
    RecordingOutput out;
    s.copyTo(out, 10);
    EXPECT_EQ(out.writes, (std::vector<std::size_t>{10}));
    EXPECT_EQ(s.seek(0, std::ios_base::cur), 10);

    StringStream longer(std::string(70000, 'z'));
    RecordingOutput out2;
    longer.copyTo(out2, 65537);
    EXPECT_EQ(out2.writes, (std::vector<std::size_t>{65536, 1}));
}

TEST(CoreCopyTo, BufferBasedSourceIsCopiedInOneWrite) {
    BufferInput in("hello world");
    in.seek(6, std::ios_base::beg);
    RecordingOutput out;
    in.copyTo(out, -1);
    EXPECT_EQ(out.writes, (std::vector<std::size_t>{5}));
    EXPECT_EQ(out.content, "world");
    EXPECT_EQ(in.seek(0, std::ios_base::cur), 11);
}

TEST(CoreStdIStream, ReadsAndSeeksByCapability) {
    BufferInput buffered("buffered");
    auto a = makeStdIStream(buffered);
    std::string word;
    *a >> word;
    EXPECT_EQ(word, "buffered");
    a->clear();
    a->seekg(2);
    *a >> word;
    EXPECT_EQ(word, "ffered");

    StringStream seekable(std::string("line one\nline two\n"));
    auto b = makeStdIStream(seekable);
    std::string line;
    std::getline(*b, line);
    EXPECT_EQ(line, "line one");
    b->seekg(5);
    std::getline(*b, line);
    EXPECT_EQ(line, "one");

    ForwardInput forward("abc");
    auto c = makeStdIStream(forward);
    std::getline(*c, line);
    EXPECT_EQ(line, "abc");
    c->clear();
    c->seekg(0);
    EXPECT_TRUE(c->fail());
}
