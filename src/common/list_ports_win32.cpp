#ifdef _WIN32
// The serial ports of Windows: the data of the values under HARDWARE\DEVICEMAP\SERIALCOMM, where
// every serial driver enters the COM name of each port it serves.

#include "list_ports.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

std::string Narrow(const wchar_t* text, int length) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, length, narrow.data(), size, nullptr, nullptr);
    return narrow;
}

} // namespace

std::vector<std::string> SystemPortNames() {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return names; // no serial driver has registered a port
    for (DWORD index = 0;; ++index) {
        wchar_t valueName[256];
        DWORD valueNameLength = 256;
        wchar_t data[256];
        DWORD dataBytes = sizeof data;
        DWORD type = 0;
        const LONG result = ::RegEnumValueW(key, index, valueName, &valueNameLength, nullptr, &type,
                                            reinterpret_cast<BYTE*>(data), &dataBytes);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS || type != REG_SZ)
            continue;
        int length = static_cast<int>(dataBytes / sizeof(wchar_t));
        while (length > 0 && data[length - 1] == L'\0')
            --length;
        names.push_back(Narrow(data, length));
    }
    ::RegCloseKey(key);
    return names;
}

#endif
