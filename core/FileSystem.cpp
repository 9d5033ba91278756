#include "core/FileSystem.h"

#include <boost/filesystem/exception.hpp>
#include <boost/filesystem/operations.hpp>

#include <thread>

namespace KX::FileSystem {
namespace Details {

bool exists(const Path& path, const StatusFunction& status, const SleepFunction& sleep) {
    namespace fs = boost::filesystem;
    boost::system::error_code error;
    fs::file_status result = status(path, error);
    if (!error)
        return result.type() != fs::file_not_found;
    if (error != boost::system::errc::permission_denied)
        return false;
    constexpr int retries = 9;
    for (int i = 0; i < retries; ++i) {
        sleep(std::chrono::milliseconds(10));
        error.clear();
        result = status(path, error);
        if (!error)
            return result.type() != fs::file_not_found;
        if (error != boost::system::errc::permission_denied)
            break;
    }
    throw fs::filesystem_error("boost::exists failed", path.boostPath(), error);
}

} // namespace Details

bool exists(const Path& path) {
    return Details::exists(
        path,
        [](const Path& p, boost::system::error_code& error) { return boost::filesystem::status(p.boostPath(), error); },
        [](std::chrono::milliseconds delay) { std::this_thread::sleep_until(std::chrono::steady_clock::now() + delay); });
}

} // namespace KX::FileSystem
