#pragma once
// Ports a first connection on Linux meets: a device node this user may not open for reading and
// writing (a pseudo-terminal with its mode cleared; a root process looks at it as "nobody" while the
// port is chosen, since root may open anything), and a port another program holds; and what the
// programs say of these and of a port that is not there.

#include "com_port.h"
#include "pseudo_terminal.h"

#include <QString>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

class PortWithoutPermission {
public:
    PortWithoutPermission() { ::chmod(terminal.SlavePath().c_str(), 0); }
    const std::string& Path() const { return terminal.SlavePath(); }

    // Runs choose with the rights of a user outside the dialout group.
    template <class F> void ChooseAsUnprivilegedUser(F&& choose) {
        const bool root = ::geteuid() == 0;
        constexpr uid_t nobody = 65534;
        if (root && ::seteuid(nobody) != 0)
            return;
        choose();
        if (root) [[maybe_unused]]
            const int restored = ::seteuid(0);
    }

private:
    PseudoTerminal terminal;
};

class PortHeldByAnother {
public:
    PortHeldByAnother() {
        holder.SetPortName(terminal.SlavePath());
        holder.Open();
    }
    const std::string& Path() const { return terminal.SlavePath(); }

private:
    PseudoTerminal terminal;
    TComPort holder;
};

inline const QString kDialoutHint = "You may not use this port yet. Add your user to the dialout group:\n"
                                    "    sudo usermod -aG dialout $USER\n"
                                    "then log out and log in again (or restart), and choose the port again.";
inline const QString kHeldHint = "Another program is using this port (a terminal program, a second copy of "
                                 "this program, ModemManager). Close it, then choose the port again.";
inline const QString kNotPresentHint =
    "This port is not there: the adapter may have been unplugged, or the name is wrong. Plug the adapter "
    "in, then choose its port again from the list (it is read again each time it opens).";
inline const QString kNotPresentMessage =
    kNotPresentHint + "\n\nЭтого порта нет: адаптер, возможно, отключён, или имя неверно. Подключите "
                      "адаптер и выберите его порт ещё раз из списка (список перечитывается при каждом "
                      "открытии).";
inline const QString kHeldMessage = kHeldHint +
                                    "\n\nПорт занят другой программой (терминал, вторая копия этой "
                                    "программы, ModemManager). Закройте её и выберите порт ещё раз.";
