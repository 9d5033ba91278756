#pragma once

// Scratch directories and small helpers for tests that work on real files.

#include "core/Errors.h"

#include <boost/filesystem.hpp>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>

namespace KX::Testing {

namespace fs = boost::filesystem;

// A fresh directory under the system's temporary folder, removed with everything in it.
class ScratchDirectory {
public:
    ScratchDirectory() : _path(fs::temp_directory_path() / fs::unique_path("kx-test-%%%%-%%%%-%%%%")) {
        fs::create_directories(_path);
    }
    ~ScratchDirectory() {
        boost::system::error_code ignored;
        fs::remove_all(_path, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const fs::path& path() const { return _path; }
    fs::path operator/(const std::string& relative) const { return _path / relative; }

private:
    fs::path _path;
};

inline void writeFile(const fs::path& path, std::string_view content) {
    if (path.has_parent_path())
        fs::create_directories(path.parent_path());
    std::ofstream out(path.string(), std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

inline std::string readFile(const fs::path& path) {
    std::ifstream in(path.string(), std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs f, which must end in a fatal assertion or fatal error, and returns the report text.
template <typename F> std::string fatalReportOf(F&& f) {
    ::testing::internal::CaptureStderr();
    try {
        f();
    } catch (const AbortException& e) {
        ::testing::internal::GetCapturedStderr();
        return e.what();
    } catch (...) {
        ::testing::internal::GetCapturedStderr();
        throw;
    }
    ::testing::internal::GetCapturedStderr();
    return "(no fatal error)";
}

// The message of the exception of type E that f throws.
template <typename E, typename F> std::string messageOf(F&& f) {
    try {
        f();
    } catch (const E& e) {
        return e.what();
    }
    return "(nothing thrown)";
}

} // namespace KX::Testing
