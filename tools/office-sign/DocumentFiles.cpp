#include "tools/office-sign/DocumentFiles.h"

#include "core/Errors.h"
#include "core/streams/ContainerBasedInOutStream.h"
#include "core/streams/FileStreams.h"

#include <boost/filesystem.hpp>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace KX::OfficeSign {

namespace fs = boost::filesystem;

std::unique_ptr<InOutStream> readDocument(const std::string& path) {
    auto input = openInputFile(path, "document");
    std::string bytes(static_cast<std::size_t>(input->size()), '\0');
    input->seek(0, std::ios_base::beg);
    if (!bytes.empty())
        input->read(bytes.data(), bytes.size());
    return std::make_unique<ContainerBasedInOutStream<std::string>>(std::move(bytes));
}

std::string contentOf(InOutStream& stream) {
    std::string bytes(static_cast<std::size_t>(stream.size()), '\0');
    stream.seek(0, std::ios_base::beg);
    if (!bytes.empty())
        stream.read(bytes.data(), bytes.size());
    return bytes;
}

namespace {

void writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            throw std::system_error(errno, std::generic_category());
        done += static_cast<std::size_t>(written);
    }
    if (::fsync(fd) != 0)
        throw std::system_error(errno, std::generic_category());
}

// An existing file keeps its permissions; a new one gets what the umask allows.
mode_t modeFor(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0)
        return status.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

void writeDocumentAtomically(const std::string& path, const std::string& bytes) {
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        throw IOError("the output file '{}' cannot be written ({})", path, std::strerror(errno));
    try {
        writeAll(fd, bytes);
        ::fchmod(fd, modeFor(path));
        if (::close(fd) != 0)
            throw std::system_error(errno, std::generic_category());
        if (std::rename(pattern.c_str(), path.c_str()) != 0)
            throw std::system_error(errno, std::generic_category());
    } catch (const std::system_error& e) {
        ::close(fd);
        ::unlink(pattern.c_str());
        throw IOError("the output file '{}' cannot be written ({})", path, std::strerror(e.code().value()));
    }
}

} // namespace KX::OfficeSign
