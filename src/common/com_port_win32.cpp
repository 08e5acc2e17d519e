#ifdef _WIN32
// TComPort on Win32: overlapped I/O with one OVERLAPPED and event per direction, so a write does not
// queue behind a pending read. The driver enforces the total time-outs (SetCommTimeouts); a manual-reset
// event lets Close cancel whatever waits.

#include "com_port.h"
#include "com_port_device.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

class Event {
public:
    explicit Event(bool manualReset) : handle(::CreateEventW(nullptr, manualReset, FALSE, nullptr)) {}
    ~Event() {
        if (handle != nullptr)
            ::CloseHandle(handle);
    }
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;
    HANDLE Get() const { return handle; }

private:
    HANDLE handle;
};

DWORD Milliseconds(std::chrono::milliseconds timeout) {
    return static_cast<DWORD>(timeout.count());
}

// 9600 8N1, binary, no flow control of any kind, DTR and RTS inactive, no byte replaced or dropped.
DCB LineSettings() {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    dcb.BaudRate = CBR_9600;
    dcb.fBinary = TRUE; // Windows supports nothing else
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fTXContinueOnXoff = TRUE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.fAbortOnError = FALSE;
    // Unused without XON/XOFF, but drivers still check them: limits within the input queue, and
    // distinct XON and XOFF characters (the usual DC1 and DC3).
    dcb.XonLim = static_cast<WORD>(kComQueueSize / 4);
    dcb.XoffLim = static_cast<WORD>(kComQueueSize / 4);
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    dcb.ErrorChar = 0;
    dcb.EofChar = 0;
    dcb.EvtChar = 0;
    return dcb;
}

class PlatformDevice final : public TComPort::Device {
public:
    PlatformDevice(const std::string& name, std::chrono::milliseconds readTimeout,
                   std::chrono::milliseconds writeTimeout)
        : writeTimeout(writeTimeout), readEvent(true), writeEvent(true), stopEvent(true) {
        // Names with two or more digits (COM10) only open through the device namespace.
        const std::string path = name.starts_with("\\\\") ? name : "\\\\.\\" + name;
        handle = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_FLAG_OVERLAPPED, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            throw ESerialError(kOpenFailedText, static_cast<int>(::GetLastError()));
        if (!Configure(readTimeout)) {
            const DWORD error = ::GetLastError();
            ::CloseHandle(handle);
            throw ESerialError(kOpenFailedText, static_cast<int>(error));
        }
    }

    ~PlatformDevice() override { ::CloseHandle(handle); }

    int Read(std::uint8_t* buffer, int count) override {
        if (count <= 0)
            return 0;
        return Transfer(readEvent, kReadFailedText, [&](OVERLAPPED& overlapped) {
            return ::ReadFile(handle, buffer, static_cast<DWORD>(count), nullptr, &overlapped);
        });
    }

    // The driver completes a write only once its bytes have gone to the UART, so a purge after it
    // cannot drop them.
    int Write(const std::uint8_t* data, int count) override {
        if (count <= 0)
            return 0;
        return Transfer(writeEvent, kWriteFailedText, [&](OVERLAPPED& overlapped) {
            return ::WriteFile(handle, data, static_cast<DWORD>(count), nullptr, &overlapped);
        });
    }

    // Clear only: an abort flag would also cancel the other thread's pending read or write.
    void Purge(bool input) override {
        if (!::PurgeComm(handle, input ? PURGE_RXCLEAR : PURGE_TXCLEAR))
            throw ESerialError(kPurgeFailedText, static_cast<int>(::GetLastError()));
    }

    void SetReadTimeout(std::chrono::milliseconds timeout) override {
        if (!ApplyTimeouts(timeout))
            throw ESerialError(kReadFailedText, static_cast<int>(::GetLastError()));
    }

    void Wake() override { ::SetEvent(stopEvent.Get()); }

private:
    // Total time-outs only: no interval and no per-byte part.
    bool ApplyTimeouts(std::chrono::milliseconds readTimeout) {
        COMMTIMEOUTS timeouts{};
        timeouts.ReadTotalTimeoutConstant = Milliseconds(readTimeout);
        timeouts.WriteTotalTimeoutConstant = Milliseconds(writeTimeout);
        return ::SetCommTimeouts(handle, &timeouts) != FALSE;
    }

    bool Configure(std::chrono::milliseconds readTimeout) {
        if (readEvent.Get() == nullptr || writeEvent.Get() == nullptr || stopEvent.Get() == nullptr)
            return false;
        if (!::SetupComm(handle, kComQueueSize, kComQueueSize))
            return false;
        // Every field is ours: the driver keeps what the last program set, and a stray fNull would
        // drop every 0x00 byte, a stray fErrorChar would replace damaged ones.
        DCB dcb = LineSettings();
        if (!::SetCommState(handle, &dcb))
            return false;
        if (!ApplyTimeouts(readTimeout) || !::SetCommMask(handle, 0))
            return false;
        return ::PurgeComm(handle, PURGE_RXCLEAR | PURGE_TXCLEAR) != FALSE;
    }

    // Starts one overlapped transfer and waits for it or for Close; returns the bytes moved.
    template <class Start> int Transfer(Event& done, const char* failedText, Start&& start) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = done.Get();
        ::ResetEvent(done.Get());
        if (!start(overlapped) && ::GetLastError() != ERROR_IO_PENDING)
            throw ESerialError(failedText, static_cast<int>(::GetLastError()));
        const HANDLE waits[2] = {done.Get(), stopEvent.Get()};
        if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0)
            ::CancelIoEx(handle, &overlapped);
        DWORD moved = 0;
        // The overlapped structure must outlive the transfer, so wait for it even when cancelled. A
        // transfer that ran out of time ends with what it moved; some drivers report that as
        // ERROR_TIMEOUT rather than as success.
        if (!::GetOverlappedResult(handle, &overlapped, &moved, TRUE) && ::GetLastError() != ERROR_TIMEOUT)
            throw ESerialError(failedText, static_cast<int>(::GetLastError()));
        return static_cast<int>(moved);
    }

    HANDLE handle = INVALID_HANDLE_VALUE;
    std::chrono::milliseconds writeTimeout;
    Event readEvent;
    Event writeEvent;
    Event stopEvent;
};

} // namespace

TComPort::DevicePtr TComPort::OpenDevice(const std::string& name, std::chrono::milliseconds readTimeout,
                                         std::chrono::milliseconds writeTimeout) {
    return std::make_unique<PlatformDevice>(name, readTimeout, writeTimeout);
}

int TComPort::NotOpenError() {
    return ERROR_INVALID_HANDLE;
}

#endif
