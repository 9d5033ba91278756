#include "package/FileReplacement.h"

// BoostDeviceToStreamAdapter.h uses AbortException without including its header.
#include "core/Errors.h"
#include "core/streams/BoostDeviceToStreamAdapter.h"

#include <boost/filesystem/operations.hpp>
#include <boost/iostreams/device/file_descriptor.hpp>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace KX {

namespace fs = boost::filesystem;
namespace io = boost::iostreams;

namespace {

[[noreturn]] void throwSystemFailure(const std::string& what, int error) {
    throw std::ios_base::failure(what, std::error_code(error, std::system_category()));
}

FileSystem::Path resolveLinks(const FileSystem::Path& target) {
    boost::system::error_code error;
    if (fs::is_symlink(fs::symlink_status(target.boostPath(), error))) {
        const fs::path resolved = fs::canonical(target.boostPath(), error);
        if (!error)
            return FileSystem::Path(resolved);
    }
    return target;
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

// A temporary file is named after its target and the process writing it, so that one left behind by
// a killed run can be told apart from the files of a run still in progress.
std::string temporaryPrefix(const fs::path& target) {
    return "." + target.filename().string() + ".partial-";
}

bool processIsGone(std::string_view pid) {
    int number = 0;
    const auto [end, error] = std::from_chars(pid.data(), pid.data() + pid.size(), number);
    if (error != std::errc() || end != pid.data() + pid.size() || number <= 0)
        return false;
    return ::kill(number, 0) != 0 && errno == ESRCH;
}

// Removes the temporary files of runs on the same target that ended without finishing.
void removeAbandonedTemporaries(const fs::path& folder, const fs::path& target) {
    const std::string prefix = temporaryPrefix(target);
    boost::system::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with(prefix))
            continue;
        const std::string_view rest = std::string_view(name).substr(prefix.size());
        const auto dash = rest.find('-');
        if (dash != std::string_view::npos && processIsGone(rest.substr(0, dash)))
            ::unlink(it->path().c_str());
    }
}

} // namespace

FileReplacement::FileReplacement(const FileSystem::Path& target) : _target(resolveLinks(target)) {
    const fs::path targetPath = _target.boostPath();
    fs::path folder = targetPath.parent_path();
    if (folder.empty())
        folder = ".";
    removeAbandonedTemporaries(folder, targetPath);
    std::string pattern =
        (folder / (temporaryPrefix(targetPath) + std::to_string(::getpid()) + "-XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    _handle = ::mkstemp(name.data());
    if (_handle < 0)
        throwSystemFailure("failed creating a temporary file in '" + folder.string() + "'", errno);
    _temporary = FileSystem::Path(name.data());
    _stream = std::make_unique<BoostDeviceToInOutStreamAdapter<io::file_descriptor>>(
        io::file_descriptor(_handle, io::never_close_handle));
}

FileReplacement::~FileReplacement() {
    _stream.reset();
    if (_handle >= 0)
        ::close(_handle);
    if (!_committed)
        ::unlink(_temporary.native().c_str());
}

void FileReplacement::commit() {
    if (::fsync(_handle) != 0)
        throwSystemFailure("failed flushing '" + _temporary.native() + "'", errno);
    struct stat existing {};
    const mode_t mode = ::stat(_target.native().c_str(), &existing) == 0
                            ? static_cast<mode_t>(existing.st_mode & 07777)
                            : newFileMode();
    if (::fchmod(_handle, mode) != 0)
        throwSystemFailure("failed setting the permissions of '" + _temporary.native() + "'", errno);
    if (::close(_handle) != 0) {
        const int error = errno;
        _handle = -1;
        throwSystemFailure("failed closing '" + _temporary.native() + "'", error);
    }
    _handle = -1;
    _stream.reset();
    if (::rename(_temporary.native().c_str(), _target.native().c_str()) != 0)
        throwSystemFailure("failed replacing '" + _target.native() + "'", errno);
    _committed = true;
    // Make the rename itself durable; the content already is, so a failure here loses nothing.
    fs::path folder = _target.boostPath().parent_path();
    if (folder.empty())
        folder = ".";
    const int directory = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (directory >= 0) {
        ::fsync(directory);
        ::close(directory);
    }
}

} // namespace KX
