#pragma once

#include <boost/filesystem/path.hpp>
#include <fmt/ostream.h>

#include <compare>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace KX::FileSystem {

// A file-system location or a package entry name. Both '/' and '\' separate elements, on every
// platform: package paths come from archives and manifests written on Windows too, so
// "META-INF\.digest" must equal and sort like "META-INF/.digest". The text is UTF-8.
class Path {
public:
    Path() = default;
    Path(const char* utf8) : _text(utf8 ? utf8 : "") {}
    Path(std::string utf8) : _text(std::move(utf8)) {}
    Path(std::string_view utf8) : _text(utf8) {}
    Path(const char* begin, const char* end) : _text(begin, end) {}
    Path(const boost::filesystem::path& path) : _text(path.string()) {}

    // The native text (UTF-8 here), separators as given.
    const std::string& native() const { return _text; }
    const std::string& string() const { return _text; }
    const std::string& u8string() const { return _text; }
    // Every '\' turned into '/': the form used for zip entry names and manifest lines.
    std::string generic_string() const;
    std::string generic_u8string() const { return generic_string(); }
    boost::filesystem::path boostPath() const { return boost::filesystem::path(_text); }
    operator boost::filesystem::path() const { return boostPath(); }

    bool empty() const { return _text.empty(); }
    bool startsWithSlash() const { return !_text.empty() && isSeparator(_text.front()); }

    Path& operator/=(const Path& other);
    friend Path operator/(Path left, const Path& right) { return left /= right; }

    Path parent_path() const;
    Path filename() const;
    Path& remove_trailing_separator();
    Path lexically_relative(const Path& base) const;

    // Elements as compared: a leading root gives "/" of its own, a trailing separator gives ".".
    std::vector<std::string_view> elements() const;
    int compare(const Path& other) const;

    friend bool operator==(const Path& a, const Path& b) { return a.compare(b) == 0; }
    friend std::strong_ordering operator<=>(const Path& a, const Path& b) { return a.compare(b) <=> 0; }

    static bool isSeparator(char c) { return c == '/' || c == '\\'; }
    static constexpr char preferredSeparator = '/';

private:
    std::string _text;
};

// The form used inside messages: double-quoted, with '"' and '&' escaped by a leading '&'.
std::ostream& operator<<(std::ostream& out, const Path& path);

} // namespace KX::FileSystem

template <>
struct fmt::formatter<KX::FileSystem::Path> : fmt::ostream_formatter {};
