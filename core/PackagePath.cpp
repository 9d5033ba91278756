#include "core/PackagePath.h"

#include "core/Errors.h"

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
