#include "core/PackagePath.h"

#include "core/Errors.h"

#include <algorithm>
#include <fmt/format.h>
#include <utf8.h>

namespace KX::FileSystem {

Path toPackagePath(const Path& path) {
    const std::string& text = path.native();
    auto it = text.begin();
    const auto end = text.end();
    while (it != end && Path::isSeparator(*it))
        ++it;
    auto resultStart = it;
    int pending = 0;
    const auto skipSeparators = [&] {
        while (it != end && Path::isSeparator(*it))
            ++it;
    };
    while (it != end) {
        if (end - it >= 3 && it[0] == '.' && it[1] == '.' && Path::isSeparator(it[2])) {
            it += 3;
            skipSeparators();
            ++pending;
            continue;
        }
        const bool separator = Path::isSeparator(*it);
        utf8::next(it, end); // validates the code point
        if (separator) {
            skipSeparators();
            if (pending > 0) {
                resultStart = it;
                --pending;
            }
        }
    }
    if (pending > 0)
        throw BaseRuntimeError("the path '{}' cannot be converted to a valid package path", text);
    return Path(std::string(resultStart, end));
}

} // namespace KX::FileSystem

namespace KX::FileSystem {

std::optional<std::string> invalidPackageNameReason(std::string_view name) {
    if (!utf8::is_valid(name.begin(), name.end()))
        return "the name is not valid UTF-8";
    if (name.empty())
        return "the name is empty";
    if (name.find('\\') != std::string_view::npos)
        return "'\\' separates folders in package names";
    if (name.front() == '/')
        return "the name starts with a separator";
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = std::min(name.find('/', start), name.size());
        const std::string_view element = name.substr(start, end - start);
        if (element.empty())
            return "the name has an empty element";
        if (element == "." || element == "..")
            return "the name has a '.' or '..' element";
        if (end == name.size())
            return std::nullopt;
        start = end + 1;
    }
}

std::string printableName(std::string_view name) {
    std::string result;
    auto it = name.begin();
    while (it != name.end()) {
        const auto valid = utf8::find_invalid(it, name.end());
        result.append(it, valid);
        if (valid == name.end())
            break;
        result += fmt::format("\\x{:02X}", static_cast<unsigned char>(*valid));
        it = valid + 1;
    }
    return result;
}

std::string caseFolded(std::string_view name) {
    std::string result(name);
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return result;
}

} // namespace KX::FileSystem
