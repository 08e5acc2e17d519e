#ifndef _WIN32
// TComPort on POSIX terminals: non-blocking fd, raw termios, every wait a poll against a monotonic
// deadline. A pipe in every poll set lets Close wake whoever waits.

#include "com_port.h"
#include "com_port_device.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/sysmacros.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

// What an operation on a port that is closed, or closing under it, reports.
constexpr int kNotOpenError = EBADF;

// Milliseconds left until deadline, rounded up so a poll never ends just before it; 0 once passed.
int MillisecondsLeft(Clock::time_point deadline) {
    const auto left = deadline - Clock::now();
    if (left <= Clock::duration::zero())
        return 0;
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

// A pseudo-terminal hands what is written straight to the other side's queue, which an output flush
// would then empty: it would take back bytes that a real line had already sent once Write returned.
// Linux numbers pseudo-terminal slaves from major 136 on, over eight majors.
bool IsPseudoTerminal(int fd) {
#ifdef __linux__
    struct stat info {};
    return ::fstat(fd, &info) == 0 && S_ISCHR(info.st_mode) && major(info.st_rdev) >= 136 &&
           major(info.st_rdev) < 144;
#else
    (void)fd;
    return false;
#endif
}

void CloseQuietly(int fd) {
    if (fd >= 0)
        ::close(fd);
}

class PlatformDevice final : public TComPort::Device {
public:
    PlatformDevice(const std::string& name, std::chrono::milliseconds readTimeout,
                   std::chrono::milliseconds writeTimeout)
        : readTimeoutMs(readTimeout.count()), writeTimeout(writeTimeout) {
        const std::string path = name.starts_with('/') ? name : "/dev/" + name;
        fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            throw ESerialError(kOpenFailedText, errno);
        outputHasNoQueue = IsPseudoTerminal(fd);
        if (!Configure()) {
            const int error = errno;
            ReleaseAll();
            throw ESerialError(kOpenFailedText, error);
        }
    }

    ~PlatformDevice() override { ReleaseAll(); }

    int Read(std::uint8_t* buffer, int count) override {
        const auto deadline = Clock::now() + std::chrono::milliseconds(readTimeoutMs.load());
        int received = 0;
        while (received < count) {
            const int wait = MillisecondsLeft(deadline);
            if (wait == 0)
                break;
            const short events = WaitFor(POLLIN, wait, kReadFailedText);
            if (events == 0)
                continue;
            const ssize_t n = ::read(fd, buffer + received, static_cast<size_t>(count - received));
            if (n > 0) {
                received += static_cast<int>(n);
                continue;
            }
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                throw ESerialError(kReadFailedText, errno);
            // A read of 0 is "no data" on a raw terminal, unless the line has gone.
            if (events & (POLLHUP | POLLERR))
                throw ESerialError(kReadFailedText, EIO);
        }
        return received;
    }

    int Write(const std::uint8_t* data, int count) override {
        const auto deadline = Clock::now() + writeTimeout;
        int sent = 0;
        while (sent < count) {
            const int wait = MillisecondsLeft(deadline);
            if (wait == 0)
                return sent;
            const short events = WaitFor(POLLOUT, wait, kWriteFailedText);
            if (events == 0)
                continue;
            const ssize_t n = ::write(fd, data + sent, static_cast<size_t>(count - sent));
            if (n > 0) {
                sent += static_cast<int>(n);
                continue;
            }
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                throw ESerialError(kWriteFailedText, errno);
            if (events & (POLLHUP | POLLERR))
                throw ESerialError(kWriteFailedText, EIO);
        }
        // Return only once the bytes have left, so a purge right after this write cannot drop them.
        for (;;) {
            int queued = 0;
            if (::ioctl(fd, TIOCOUTQ, &queued) < 0)
                throw ESerialError(kWriteFailedText, errno);
            const int wait = MillisecondsLeft(deadline);
            if (queued <= 0 || wait == 0)
                return sent;
            WaitForWake(std::min(wait, 2), kWriteFailedText);
        }
    }

    void Purge(bool input) override {
        if (!input && outputHasNoQueue)
            return; // nothing of ours is still waiting to be sent
        if (::tcflush(fd, input ? TCIFLUSH : TCOFLUSH) < 0)
            throw ESerialError(kPurgeFailedText, errno);
    }

    void SetReadTimeout(std::chrono::milliseconds timeout) override { readTimeoutMs = timeout.count(); }

    void Wake() override {
        const char byte = 1;
        // The pipe is empty until now, so this cannot fail for lack of room.
        [[maybe_unused]] const ssize_t n = ::write(wakeWrite, &byte, 1);
    }

private:
    bool Configure() {
        int pipeFds[2];
        if (::pipe(pipeFds) < 0)
            return false;
        wakeRead = pipeFds[0];
        wakeWrite = pipeFds[1];
        for (const int end : pipeFds)
            if (::fcntl(end, F_SETFD, FD_CLOEXEC) < 0 || ::fcntl(end, F_SETFL, O_NONBLOCK) < 0)
                return false;
        // Another program that holds the port (and locks it, as we do) makes the open fail.
        if (::flock(fd, LOCK_EX | LOCK_NB) < 0 || ::ioctl(fd, TIOCEXCL) < 0)
            return false;
        termios settings{};
        if (::tcgetattr(fd, &settings) < 0)
            return false;
        ::cfmakeraw(&settings);
        settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
        settings.c_cflag |= CS8 | CLOCAL | CREAD;
        settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
        settings.c_cc[VMIN] = 0;
        settings.c_cc[VTIME] = 0;
        if (::cfsetispeed(&settings, B9600) < 0 || ::cfsetospeed(&settings, B9600) < 0 ||
            ::tcsetattr(fd, TCSANOW, &settings) < 0)
            return false;
        // Opening raises DTR and RTS; the converter wants them inactive. Pseudo-terminals have no
        // modem lines and refuse the request, which is fine.
        const int lines = TIOCM_DTR | TIOCM_RTS;
        if (::ioctl(fd, TIOCMBIC, &lines) < 0 && errno != ENOTTY && errno != EINVAL)
            return false;
        // Start with nothing stale from before the open.
        return ::tcflush(fd, outputHasNoQueue ? TCIFLUSH : TCIOFLUSH) == 0;
    }

    void ReleaseAll() {
        // Leave the terminal open to others again (a pseudo-terminal keeps the flag across closes).
        ::ioctl(fd, TIOCNXCL);
        CloseQuietly(fd);
        CloseQuietly(wakeRead);
        CloseQuietly(wakeWrite);
    }

    // Waits for the port's event or Close; returns the port's poll events (0 when the wait ran out).
    short WaitFor(short event, int milliseconds, const char* failedText) {
        pollfd fds[2] = {{fd, event, 0}, {wakeRead, POLLIN, 0}};
        if (::poll(fds, 2, milliseconds) < 0) {
            if (errno == EINTR)
                return 0;
            throw ESerialError(failedText, errno);
        }
        if (fds[1].revents != 0)
            throw ESerialError(failedText, kNotOpenError);
        if (fds[0].revents & POLLNVAL)
            throw ESerialError(failedText, EBADF);
        return fds[0].revents;
    }

    void WaitForWake(int milliseconds, const char* failedText) {
        pollfd wake{wakeRead, POLLIN, 0};
        if (::poll(&wake, 1, milliseconds) > 0)
            throw ESerialError(failedText, kNotOpenError);
    }

    int fd = -1;
    int wakeRead = -1;
    int wakeWrite = -1;
    bool outputHasNoQueue = false;
    // Another thread may change it while a read waits; that read keeps its deadline.
    std::atomic<std::chrono::milliseconds::rep> readTimeoutMs;
    std::chrono::milliseconds writeTimeout;
};

} // namespace

TComPort::DevicePtr TComPort::OpenDevice(const std::string& name, std::chrono::milliseconds readTimeout,
                                         std::chrono::milliseconds writeTimeout) {
    return std::make_unique<PlatformDevice>(name, readTimeout, writeTimeout);
}

int TComPort::NotOpenError() {
    return kNotOpenError;
}

#endif
