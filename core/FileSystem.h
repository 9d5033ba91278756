#pragma once

#include "core/Path.h"

#include <boost/filesystem/file_status.hpp>
#include <boost/system/error_code.hpp>

#include <chrono>
#include <functional>

namespace KX::FileSystem {

// Whether anything exists at the path. A "permission denied" answer is often transient on
// desktops (virus scanners, indexers hold files briefly), so it is retried nine times, 10 ms
// apart, before it becomes a boost::filesystem::filesystem_error. Any other error means "no".
bool exists(const Path& path);

namespace Details {
using StatusFunction = std::function<boost::filesystem::file_status(const Path&, boost::system::error_code&)>;
using SleepFunction = std::function<void(std::chrono::milliseconds)>;
bool exists(const Path& path, const StatusFunction& status, const SleepFunction& sleep);
} // namespace Details

} // namespace KX::FileSystem
