#include "core/Errors.h"
#include "core/FileSystem.h"
#include "core/PackagePath.h"
#include "core/Path.h"

#include <boost/filesystem/exception.hpp>
#include <gtest/gtest.h>
#include <utf8.h>

#include <algorithm>
#include <vector>

using KX::FileSystem::Path;
using KX::FileSystem::toPackagePath;

TEST(CorePath, BackslashSeparatesLikeSlash) {
    EXPECT_EQ(Path("META-INF\\.digest"), Path("META-INF/.digest"));
    EXPECT_EQ(Path("a//b"), Path("a/b"));
    EXPECT_EQ(Path("dir\\file.txt").generic_string(), "dir/file.txt");
    EXPECT_EQ(Path("a\\b/c").filename().native(), "c");
    EXPECT_EQ(Path("a\\b/c").parent_path().native(), "a\\b");
    EXPECT_NE(Path("a"), Path("A"));
}

TEST(CorePath, OrdersElementByElement) {
    std::vector<Path> paths{"a", "META-INF-x", "META-INF/a", "META-INF/.digest", "META-INF", "B"};
    std::sort(paths.begin(), paths.end());
    std::vector<std::string> texts;
    for (const auto& p : paths)
        texts.push_back(p.native());
    EXPECT_EQ(texts, (std::vector<std::string>{"B", "META-INF", "META-INF/.digest", "META-INF/a", "META-INF-x", "a"}));
    EXPECT_LT(Path("a/b"), Path("a-b")); // although '/' > '-' as characters
    EXPECT_LT(Path("a\\b"), Path("a-b"));
    EXPECT_LT(Path("ab"), Path("abc"));
}

TEST(CorePath, StartsWithSlash) {
    EXPECT_TRUE(Path("/a").startsWithSlash());
    EXPECT_TRUE(Path("\\a").startsWithSlash());
    EXPECT_FALSE(Path("a/").startsWithSlash());
    EXPECT_FALSE(Path().startsWithSlash());
}

TEST(CorePath, JoinAndDecompose) {
    EXPECT_EQ((Path("dir") / "file").native(), "dir/file");
    EXPECT_EQ((Path("dir/") / "file").native(), "dir/file");
    EXPECT_EQ((Path("dir\\") / "file").native(), "dir\\file");
    EXPECT_EQ((Path() / "file").native(), "file");
    EXPECT_EQ((Path("dir") / "/file").native(), "dir/file");
    EXPECT_EQ(Path("dir/").remove_trailing_separator().native(), "dir");
    EXPECT_EQ(Path("/").parent_path().native(), "");
    EXPECT_EQ(Path("/a").parent_path().native(), "/");
    EXPECT_EQ(Path("file").parent_path().native(), "");
    EXPECT_TRUE(Path().filename().empty());
}

TEST(CorePath, LexicallyRelative) {
    EXPECT_EQ(Path("/a/b/c").lexically_relative("/a").native(), "b/c");
    EXPECT_EQ(Path("/a/d").lexically_relative("/a/b/c").native(), "../../d");
    EXPECT_EQ(Path("/a/b").lexically_relative("/a/b").native(), ".");
    EXPECT_EQ(Path("a").lexically_relative("x/../..").native(), "");
}

TEST(CorePackagePath, ConvertsWalkResults) {
    EXPECT_EQ(toPackagePath("dir\\file.txt").native(), "dir\\file.txt");
    EXPECT_EQ(toPackagePath("dir\\file.txt").generic_string(), "dir/file.txt");
    EXPECT_EQ(toPackagePath("\\\\/a/b").native(), "a/b");
    EXPECT_EQ(toPackagePath("..\\plugin\\sub\\file").native(), "sub\\file");
    EXPECT_EQ(toPackagePath("../../x/y/z").native(), "z");
    EXPECT_EQ(toPackagePath("a/..").native(), "a/..");
    EXPECT_EQ(toPackagePath("").native(), "");
    EXPECT_EQ(toPackagePath("caf\xC3\xA9/\xE2\x82\xAC.txt").native(), "caf\xC3\xA9/\xE2\x82\xAC.txt");
}

TEST(CorePackagePath, RejectsLeftOverParents) {
    for (const char* bad : {"../a", "a/../b", "a../b", "../"}) {
        try {
            toPackagePath(bad);
            ADD_FAILURE() << bad;
        } catch (const KX::BaseRuntimeError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("the path '") + bad +
                                                  "' cannot be converted to a valid package path");
        }
    }
}

TEST(CorePackagePath, RejectsMalformedUtf8) {
    EXPECT_THROW(toPackagePath("a/\xC3"), utf8::not_enough_room);
    EXPECT_THROW(toPackagePath("a/\xFF" "b"), utf8::invalid_utf8);
    EXPECT_THROW(toPackagePath("\xF4\x90\x80\x80"), utf8::invalid_code_point);
}

namespace {
struct ScriptedStatus {
    std::vector<boost::system::errc::errc_t> errors; // one per call; success when exhausted
    int calls = 0;
    int sleeps = 0;
    boost::filesystem::file_status operator()(const Path&, boost::system::error_code& error) {
        const int i = calls++;
        if (i < static_cast<int>(errors.size())) {
            error = boost::system::errc::make_error_code(errors[static_cast<std::size_t>(i)]);
            return boost::filesystem::file_status(boost::filesystem::status_error);
        }
        error.clear();
        return boost::filesystem::file_status(boost::filesystem::regular_file);
    }
};

bool existsWith(ScriptedStatus& script) {
    return KX::FileSystem::Details::exists(
        "x", [&](const Path& p, boost::system::error_code& e) { return script(p, e); },
        [&](std::chrono::milliseconds d) {
            EXPECT_EQ(d.count(), 10);
            ++script.sleeps;
        });
}
} // namespace

TEST(CoreExists, RealFileSystem) {
    EXPECT_TRUE(KX::FileSystem::exists(Path(testing::TempDir())));
    EXPECT_FALSE(KX::FileSystem::exists(Path(testing::TempDir()) / "definitely-missing-file"));
}

TEST(CoreExists, RetriesOnlyPermissionDenied) {
    using boost::system::errc::errc_t;
    ScriptedStatus other{{errc_t::io_error}};
    EXPECT_FALSE(existsWith(other));
    EXPECT_EQ(other.calls, 1);
    EXPECT_EQ(other.sleeps, 0);

    ScriptedStatus transient{{errc_t::permission_denied, errc_t::permission_denied}};
    EXPECT_TRUE(existsWith(transient));
    EXPECT_EQ(transient.calls, 3);
    EXPECT_EQ(transient.sleeps, 2);

    ScriptedStatus persistent{std::vector<errc_t>(20, errc_t::permission_denied)};
    EXPECT_THROW(existsWith(persistent), boost::filesystem::filesystem_error);
    EXPECT_EQ(persistent.calls, 10);
    EXPECT_EQ(persistent.sleeps, 9);

    // After a retry, a different failure becomes an exception rather than "no".
    ScriptedStatus changed{{errc_t::permission_denied, errc_t::io_error}};
    try {
        existsWith(changed);
        FAIL();
    } catch (const boost::filesystem::filesystem_error& e) {
        EXPECT_NE(std::string(e.what()).find("boost::exists failed"), std::string::npos);
    }
    EXPECT_EQ(changed.calls, 2);
}
