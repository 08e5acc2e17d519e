#include "port_open_hint.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <cerrno>
#endif

PortOpenProblem ClassifyPortOpenFailure(int systemError) {
#ifdef _WIN32
    // Windows opens a COM port for one program at a time and refuses a second with "access denied".
    if (systemError == ERROR_ACCESS_DENIED || systemError == ERROR_SHARING_VIOLATION)
        return PortOpenProblem::HeldByAnother;
    if (systemError == ERROR_FILE_NOT_FOUND || systemError == ERROR_PATH_NOT_FOUND)
        return PortOpenProblem::NotPresent;
#else
    if (systemError == EACCES || systemError == EPERM)
        return PortOpenProblem::NoPermission;
    // EBUSY: opened exclusively; EWOULDBLOCK: locked, as we lock the ports we open.
    if (systemError == EBUSY || systemError == EWOULDBLOCK)
        return PortOpenProblem::HeldByAnother;
    // ENXIO and ENODEV: the node is left but its device has gone.
    if (systemError == ENOENT || systemError == ENXIO || systemError == ENODEV)
        return PortOpenProblem::NotPresent;
#endif
    return PortOpenProblem::Other;
}

PortOpenHint HintFor(PortOpenProblem problem) {
    switch (problem) {
    case PortOpenProblem::NoPermission:
        return {"You may not use this port yet. Add your user to the dialout group:\n"
                "    sudo usermod -aG dialout $USER\n"
                "then log out and log in again (or restart), and choose the port again.",
                "Нет прав на этот порт. Добавьте пользователя в группу dialout:\n"
                "    sudo usermod -aG dialout $USER\n"
                "затем выйдите из системы и войдите снова (или перезагрузитесь) и выберите порт ещё раз."};
    case PortOpenProblem::HeldByAnother:
        return {"Another program is using this port (a terminal program, a second copy of this program, "
                "ModemManager). Close it, then choose the port again.",
                "Порт занят другой программой (терминал, вторая копия этой программы, ModemManager). "
                "Закройте её и выберите порт ещё раз."};
    case PortOpenProblem::NotPresent:
        return {
            "This port is not there: the adapter may have been unplugged, or the name is wrong. Plug the "
            "adapter in, then choose its port again from the list (it is read again each time it opens).",
            "Этого порта нет: адаптер, возможно, отключён, или имя неверно. Подключите адаптер и выберите "
            "его порт ещё раз из списка (список перечитывается при каждом открытии)."};
    case PortOpenProblem::Other:
        break;
    }
    return {"The port could not be opened. Check the adapter and its cable, then choose the port again.",
            "Порт не открывается. Проверьте адаптер и его кабель, затем выберите порт ещё раз."};
}
