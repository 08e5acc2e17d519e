#pragma once
// The serial port, over the OS rather than QSerialPort: one thread may wait in Read while another
// writes or purges, which QSerialPort does not allow.

#include "byte_port.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

// Every open applies the same line settings: 9600 baud, 8 data bits, no parity, 1 stop bit, no flow
// control, DTR and RTS inactive, driver queues of kComQueueSize bytes where the OS lets us size them,
// no events. Reads and writes each end at the latest one time-out after they started.
inline constexpr int kComQueueSize = 5094;
inline constexpr std::chrono::milliseconds kComTimeout{1000};

class TComPort : public BytePort {
public:
    // The open device of the platform (com_port_device.h); only the serial layer sees inside it.
    class Device;

    TComPort();
    ~TComPort() override;
    TComPort(const TComPort&) = delete;
    TComPort& operator=(const TComPort&) = delete;

    // A name that is not a path is a device name: "ttyUSB0" is /dev/ttyUSB0, "COM3" is \\.\COM3.
    void SetPortName(const std::string& name);
    std::string PortName() const;
    // Taken at the next Open; tests shorten them, the program keeps kComTimeout.
    void SetTimeouts(std::chrono::milliseconds read, std::chrono::milliseconds write);
    // The read time-out from the next Read on, on an open port too (the uploader drains with 1 ms
    // reads and then waits seconds for a reply). Throws ESerialError when the port refuses it.
    void SetReadTimeout(std::chrono::milliseconds read);

    // Opens the named port, closing it first if it is open. Throws ESerialError (kOpenFailedText).
    void Open();
    // Closes the port; a Read or Write waiting in another thread ends with ESerialError. Closing a
    // closed port does nothing.
    void Close();
    bool IsOpen() const;

    // Operations on a port that is not open throw the ESerialError of their kind.
    int Write(const std::uint8_t* data, int count) override;
    int Read(std::uint8_t* buffer, int count) override;
    void ClearInput() override;
    void ClearOutput() override;

private:
    using DevicePtr = std::unique_ptr<Device>;

    // Each platform's (com_port_posix.cpp, com_port_win32.cpp).
    static DevicePtr OpenDevice(const std::string& name, std::chrono::milliseconds readTimeout,
                                std::chrono::milliseconds writeTimeout);
    // The system error an operation on a closed port reports.
    static int NotOpenError();

    // Runs operation on the open device, keeping Close from freeing it meanwhile.
    template <class Operation> auto Use(const char* failedText, Operation&& operation);
    void CloseDevice();

    std::mutex openCloseMutex; // serialises Open and Close
    mutable std::mutex stateMutex;
    std::condition_variable idle;
    DevicePtr device;
    int usersInside = 0;
    bool closing = false;
    std::string portName = "COM1";
    std::chrono::milliseconds readTimeout = kComTimeout;
    std::chrono::milliseconds writeTimeout = kComTimeout;
};
