#include "pseudo_terminal.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

PseudoTerminal::PseudoTerminal() {
    master = ::posix_openpt(O_RDWR | O_NOCTTY);
    const char* name =
        master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0 ? ::ptsname(master) : nullptr;
    if (name != nullptr) {
        slavePath = name;
        slaveKeeper = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    }
    termios settings{};
    // Raw from the start: a client that does not set raw mode itself must still see bytes unchanged.
    const bool ready = slaveKeeper >= 0 && ::fcntl(master, F_SETFD, FD_CLOEXEC) == 0 &&
                       ::fcntl(master, F_SETFL, O_NONBLOCK) == 0 &&
                       ::tcgetattr(slaveKeeper, &settings) == 0 &&
                       (::cfmakeraw(&settings), ::tcsetattr(slaveKeeper, TCSANOW, &settings) == 0);
    if (!ready) {
        const int error = errno;
        HangUp();
        throw std::system_error(error, std::generic_category(), "pseudo-terminal");
    }
}

PseudoTerminal::~PseudoTerminal() {
    HangUp();
}

void PseudoTerminal::HangUp() {
    for (int* fd : {&master, &slaveKeeper}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}
