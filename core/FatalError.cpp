#include "core/FatalError.h"

#include "core/Errors.h"

#include <csignal>
#include <cstdlib>
#include <fmt/format.h>
#include <fstream>
#include <iostream>

namespace KX {
namespace {

bool debuggerAttached() {
#if defined(__linux__)
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("TracerPid:", 0) == 0)
            return std::strtol(line.c_str() + 10, nullptr, 10) != 0;
    }
#endif
    return false;
}

[[noreturn]] void report(const FatalErrorInfo& info) {
    fatalErrorHandler()(info);
    // A handler must not return; if one does, there is no sane way to continue.
    std::abort();
}

} // namespace

FatalErrorHandler& fatalErrorHandler() {
    // Function-local static: initialised exactly once even if two threads report at the same time.
    static FatalErrorHandler handler = &defaultFatalErrorHandler;
    return handler;
}

std::optional<std::string> stackBacktrace() { return std::nullopt; }

std::string formatFatalErrorReport(const FatalErrorInfo& info) {
    std::string text = info.condition.empty() ? "Fatal error" : "Assertion failure";
    if (!info.file.empty())
        text += fmt::format(" in file {}", info.file);
    if (info.line >= 0)
        text += fmt::format(" at line {}", info.line);
    if (!info.condition.empty() || !info.message.empty()) {
        text += ": ";
        if (!info.condition.empty() && !info.message.empty())
            text += fmt::format("({}) {}", info.condition, info.message);
        else if (!info.condition.empty())
            text += info.condition;
        else
            text += info.message;
    }
    if (auto backtrace = stackBacktrace())
        text += "\nStack backtrace:\n" + *backtrace;
    return text;
}

std::ostream& operator<<(std::ostream& out, const FatalErrorInfo& info) {
    return out << formatFatalErrorReport(info);
}

void defaultFatalErrorHandler(const FatalErrorInfo& info) {
    const std::string text = formatFatalErrorReport(info);
    std::cerr << text << '\n';
    std::cerr.flush();
    // Trapping without a debugger would kill the process before the exception can unwind.
    if (debuggerAttached())
        std::raise(SIGTRAP);
    throw AbortException(text);
}

void assertionFailed(std::string_view condition) { report({{}, -1, condition, {}}); }

void assertionFailed(std::string_view condition, std::string_view message) {
    report({{}, -1, condition, message});
}

void fatalError(std::string_view message) { report({{}, -1, {}, message}); }

} // namespace KX
