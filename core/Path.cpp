#include "core/Path.h"

#include <algorithm>
#include <ostream>

namespace KX::FileSystem {

std::string Path::generic_string() const {
    std::string text = _text;
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

Path& Path::operator/=(const Path& other) {
    if (other._text.empty())
        return *this;
    if (!_text.empty() && !isSeparator(_text.back()) && _text.back() != ':' && !other.startsWithSlash())
        _text += preferredSeparator;
    _text += other._text;
    return *this;
}

std::vector<std::string_view> Path::elements() const {
    std::vector<std::string_view> result;
    const std::string_view text = _text;
    std::size_t i = 0;
    if (!text.empty() && isSeparator(text[0])) {
        result.emplace_back("/");
        while (i < text.size() && isSeparator(text[i]))
            ++i;
    }
    while (i < text.size()) {
        const std::size_t start = i;
        while (i < text.size() && !isSeparator(text[i]))
            ++i;
        result.push_back(text.substr(start, i - start));
        if (i < text.size()) {
            while (i < text.size() && isSeparator(text[i]))
                ++i;
            if (i == text.size())
                result.emplace_back(".");
        }
    }
    return result;
}

int Path::compare(const Path& other) const {
    const auto mine = elements();
    const auto theirs = other.elements();
    const std::size_t common = std::min(mine.size(), theirs.size());
    for (std::size_t i = 0; i < common; ++i) {
        // Byte order of UTF-8 is code point order.
        if (const int c = mine[i].compare(theirs[i]); c != 0)
            return c < 0 ? -1 : 1;
    }
    if (mine.size() == theirs.size())
        return 0;
    return mine.size() < theirs.size() ? -1 : 1;
}

Path Path::filename() const {
    const auto parts = elements();
    return parts.empty() ? Path() : Path(std::string(parts.back()));
}

Path Path::parent_path() const {
    std::size_t end = _text.size();
    // A trailing separator ends an element of its own ("."), whose parent is the path before it.
    if (end > 0 && isSeparator(_text[end - 1])) {
        while (end > 0 && isSeparator(_text[end - 1]))
            --end;
        return Path(_text.substr(0, end)); // the root alone has no parent
    }
    while (end > 0 && !isSeparator(_text[end - 1]))
        --end;
    if (end == 0)
        return Path();
    std::size_t cut = end;
    while (cut > 0 && isSeparator(_text[cut - 1]))
        --cut;
    return cut == 0 ? Path(_text.substr(0, 1)) : Path(_text.substr(0, cut));
}

Path& Path::remove_trailing_separator() {
    if (!_text.empty() && isSeparator(_text.back()))
        _text.pop_back();
    return *this;
}

Path Path::lexically_relative(const Path& base) const {
    const auto mine = elements();
    const auto theirs = base.elements();
    std::size_t common = 0;
    while (common < mine.size() && common < theirs.size() && mine[common] == theirs[common])
        ++common;
    int up = 0;
    for (std::size_t i = common; i < theirs.size(); ++i) {
        if (theirs[i] == "..")
            --up;
        else if (theirs[i] != "." && !theirs[i].empty())
            ++up;
    }
    if (up < 0)
        return Path();
    if (up == 0 && common == mine.size())
        return Path(".");
    Path result;
    for (int i = 0; i < up; ++i)
        result /= Path("..");
    for (std::size_t i = common; i < mine.size(); ++i)
        result /= Path(std::string(mine[i]));
    return result;
}

std::ostream& operator<<(std::ostream& out, const Path& path) {
    std::string quoted;
    quoted.reserve(path.native().size() + 2);
    quoted += '"';
    for (char c : path.native()) {
        if (c == '"' || c == '&')
            quoted += '&';
        quoted += c;
    }
    quoted += '"';
    return out << quoted;
}

} // namespace KX::FileSystem
