#pragma once

// Runs a program as a child process and captures its standard output, standard error and exit status,
// so command-line behaviour is checked on the real binary, byte for byte.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace KX::Testing {

struct CliResult {
    std::string out;
    std::string err;
    int status = -1; // exit status, or 128 + signal number
};

struct CliOptions {
    std::string workingDirectory;                  // empty: inherit
    std::vector<std::string> environment;          // extra NAME=value entries
    std::optional<rlim_t> fileSizeLimit;           // RLIMIT_FSIZE for the child, in bytes
};

inline CliResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                            const CliOptions& options = {}) {
    int outPipe[2];
    int errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0)
        throw std::runtime_error("pipe failed");
    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        close(outPipe[0]);
        close(outPipe[1]);
        close(errPipe[0]);
        close(errPipe[1]);
        if (!options.workingDirectory.empty() && chdir(options.workingDirectory.c_str()) != 0)
            _exit(126);
        // Deterministic messages whatever the caller's locale.
        setenv("LC_ALL", "C", 1);
        for (const auto& entry : options.environment)
            putenv(const_cast<char*>(entry.c_str()));
        if (options.fileSizeLimit) {
            // Exceeding the limit must fail the write (EFBIG), not kill the process.
            signal(SIGXFSZ, SIG_IGN);
            rlimit limit{*options.fileSizeLimit, *options.fileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const auto& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    CliResult result;
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open = 2;
    char buffer[65536];
    while (open > 0) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

#ifdef XPK_BINARY
inline CliResult runXpk(const std::vector<std::string>& arguments, const CliOptions& options = {}) {
    return runProgram(XPK_BINARY, arguments, options);
}
#endif

} // namespace KX::Testing
