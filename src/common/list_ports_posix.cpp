#ifndef _WIN32
// The serial ports of a POSIX system. Linux: every terminal in /sys/class/tty backed by a device
// (USB adapters, Bluetooth RFCOMM, on-board UARTs), except the placeholders the 8250 driver registers
// for UARTs that are not there. Elsewhere (macOS): the call-out devices /dev/cu.*.

#include "list_ports.h"

#include <filesystem>
#include <system_error>

#ifdef __linux__
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

#ifdef __linux__
// A UART the 8250 driver knows of but did not find reports the type "unknown".
bool PlaceholderUart(const std::string& name) {
    const int fd = ::open(("/dev/" + name).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false; // not ours to open (another user's group, held): shown, the open will say why
    serial_struct info{};
    const bool unknown = ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type == PORT_UNKNOWN;
    ::close(fd);
    return unknown;
}
#endif

} // namespace

std::vector<std::string> SystemPortNames() {
    std::vector<std::string> names;
    std::error_code error;
#ifdef __linux__
    for (const fs::directory_entry& entry : fs::directory_iterator("/sys/class/tty", error)) {
        const fs::path device = entry.path() / "device";
        if (!fs::exists(device, error))
            continue; // a virtual terminal or a pseudo-terminal
        const std::string name = entry.path().filename().string();
        const std::string driver = fs::read_symlink(device / "driver", error).filename().string();
        if (driver == "serial8250" && PlaceholderUart(name))
            continue;
        names.push_back(name);
    }
#else
    for (const fs::directory_entry& entry : fs::directory_iterator("/dev", error)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("cu."))
            names.push_back(name);
    }
#endif
    return names;
}

#endif
