#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace KX {

struct FatalErrorInfo {
    std::string_view file;
    std::int32_t line = -1;
    std::string_view condition;
    std::string_view message;
};

using FatalErrorHandler = void (*)(const FatalErrorInfo&);

// The process-wide handler; set to defaultFatalErrorHandler on first use.
FatalErrorHandler& fatalErrorHandler();

// Writes the report to standard error, traps into an attached debugger and throws AbortException.
void defaultFatalErrorHandler(const FatalErrorInfo& info);

std::string formatFatalErrorReport(const FatalErrorInfo& info);
std::ostream& operator<<(std::ostream& out, const FatalErrorInfo& info);

std::optional<std::string> stackBacktrace();

[[noreturn]] void assertionFailed(std::string_view condition);
[[noreturn]] void assertionFailed(std::string_view condition, std::string_view message);
[[noreturn]] void fatalError(std::string_view message);

} // namespace KX

#define KX_ASSERT(expr)                                                                                      \
    do {                                                                                                     \
        if (!(expr))                                                                                         \
            ::KX::assertionFailed(#expr);                                                                    \
    } while (false)

#define KX_ASSERT_MSG(expr, message)                                                                         \
    do {                                                                                                     \
        if (!(expr))                                                                                         \
            ::KX::assertionFailed(#expr, message);                                                           \
    } while (false)
