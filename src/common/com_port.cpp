#include "com_port.h"

#include "com_port_device.h"

TComPort::TComPort() = default;

TComPort::~TComPort() {
    Close();
}

void TComPort::SetPortName(const std::string& name) {
    std::lock_guard lock(stateMutex);
    portName = name;
}

std::string TComPort::PortName() const {
    std::lock_guard lock(stateMutex);
    return portName;
}

void TComPort::SetTimeouts(std::chrono::milliseconds read, std::chrono::milliseconds write) {
    std::lock_guard lock(stateMutex);
    readTimeout = read;
    writeTimeout = write;
}

void TComPort::Open() {
    std::lock_guard openClose(openCloseMutex);
    CloseDevice();
    std::string name;
    std::chrono::milliseconds read{}, write{};
    {
        std::lock_guard lock(stateMutex);
        name = portName;
        read = readTimeout;
        write = writeTimeout;
    }
    DevicePtr opened = OpenDevice(name, read, write);
    std::lock_guard lock(stateMutex);
    device = std::move(opened);
}

void TComPort::Close() {
    std::lock_guard openClose(openCloseMutex);
    CloseDevice();
}

bool TComPort::IsOpen() const {
    std::lock_guard lock(stateMutex);
    return device != nullptr && !closing;
}

void TComPort::CloseDevice() {
    DevicePtr closed;
    {
        std::unique_lock lock(stateMutex);
        if (!device)
            return;
        closing = true;
        device->Wake();
        idle.wait(lock, [this] { return usersInside == 0; });
        closed = std::move(device);
        closing = false;
    }
    // The OS handle is released here, once no thread can be inside an operation on it.
}

template <class Operation> auto TComPort::Use(const char* failedText, Operation&& operation) {
    Device* inUse = nullptr;
    {
        std::lock_guard lock(stateMutex);
        if (!device || closing)
            throw ESerialError(failedText, NotOpenError());
        inUse = device.get();
        ++usersInside;
    }
    struct Leave {
        TComPort& port;
        ~Leave() {
            std::lock_guard lock(port.stateMutex);
            if (--port.usersInside == 0)
                port.idle.notify_all();
        }
    } leave{*this};
    return operation(*inUse);
}

void TComPort::SetReadTimeout(std::chrono::milliseconds read) {
    {
        std::lock_guard lock(stateMutex);
        readTimeout = read;
        if (!device)
            return;
    }
    Use(kReadFailedText, [read](Device& d) { d.SetReadTimeout(read); });
}

int TComPort::Write(const std::uint8_t* data, int count) {
    return Use(kWriteFailedText, [&](Device& d) { return d.Write(data, count); });
}

int TComPort::Read(std::uint8_t* buffer, int count) {
    return Use(kReadFailedText, [&](Device& d) { return d.Read(buffer, count); });
}

void TComPort::ClearInput() {
    Use(kPurgeFailedText, [](Device& d) { d.Purge(true); });
}

void TComPort::ClearOutput() {
    Use(kPurgeFailedText, [](Device& d) { d.Purge(false); });
}
