#include "simulator_process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kPathWait = std::chrono::seconds(5);

std::runtime_error systemFailure(const std::string& what, int error) {
    return std::runtime_error(what + ": " + std::strerror(error));
}

// Closes the descriptor when it goes out of scope.
class FdCloser {
public:
    explicit FdCloser(int fd) : fd(fd) {}
    ~FdCloser() { ::close(fd); }
    FdCloser(const FdCloser&) = delete;
    FdCloser& operator=(const FdCloser&) = delete;

private:
    int fd;
};

// The first line the simulator prints, without its line end; empty if none comes in time.
std::string readFirstLine(int fd) {
    const auto deadline = Clock::now() + kPathWait;
    std::string line;
    char c = 0;
    while (Clock::now() < deadline) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd input{fd, POLLIN, 0};
        const int ready = ::poll(&input, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        const ssize_t n = ::read(fd, &c, 1);
        if (n <= 0 || c == '\n')
            break;
        line.push_back(c);
    }
    return c == '\n' ? line : std::string();
}

} // namespace

SimulatorProcess::SimulatorProcess(const std::string& program) {
    int output[2];
    if (::pipe2(output, O_CLOEXEC) != 0)
        throw systemFailure("pipe", errno);
    const FdCloser readEnd(output[0]);
    {
        const FdCloser writeEnd(output[1]);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        char* const argv[] = {const_cast<char*>(program.c_str()), nullptr};
        const int error = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        if (error != 0)
            throw systemFailure("cannot start " + program, error);
    }
    slavePath = readFirstLine(output[0]);
    if (slavePath.empty()) {
        terminate();
        throw std::runtime_error(program + " printed no pseudo-terminal path");
    }
}

SimulatorProcess::~SimulatorProcess() {
    terminate();
}

void SimulatorProcess::terminate() {
    if (pid <= 0)
        return;
    ::kill(pid, SIGTERM);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    pid = -1;
}
