#pragma once
// What the port of each platform does once open (com_port_posix.cpp, com_port_win32.cpp). TComPort
// keeps Close from freeing it while another thread is inside one of these.

#include "com_port.h"

#include <chrono>
#include <cstdint>

class TComPort::Device {
public:
    virtual ~Device() = default;
    virtual int Read(std::uint8_t* buffer, int count) = 0;
    virtual int Write(const std::uint8_t* data, int count) = 0;
    virtual void Purge(bool input) = 0;
    // Holds from the next Read on.
    virtual void SetReadTimeout(std::chrono::milliseconds timeout) = 0;
    // Any thread: whatever waits in Read or Write ends with ESerialError.
    virtual void Wake() = 0;
};
