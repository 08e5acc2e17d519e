#pragma once
// The blocking byte operations the converter exchanges need from a link. The serial port implements
// it; tests may put any port behind it.

#include <cstdint>
#include <stdexcept>
#include <string>

// Texts of the serial layer's failures; the system's error number follows as " (Error: %d)".
inline constexpr const char* kOpenFailedText = "Unable to open com port";
inline constexpr const char* kWriteFailedText = "WriteFile function failed";
inline constexpr const char* kReadFailedText = "ReadFile function failed";
inline constexpr const char* kPurgeFailedText = "PurgeComm function failed";

// A failure of the link itself (as opposed to a reply that is missing or wrong). Part of the port's
// contract, so code that only sees a BytePort can still tell a dead port from a silent converter.
class ESerialError : public std::runtime_error {
public:
    ESerialError(const char* failedOperationText, int systemError)
        : std::runtime_error(std::string(failedOperationText) + " (Error: " + std::to_string(systemError) +
                             ")"),
          errorCode(systemError) {}

    int ErrorCode() const noexcept { return errorCode; }

private:
    int errorCode;
};

class BytePort {
public:
    virtual ~BytePort() = default;

    // Sends count bytes; returns once they have left or the write time-out has passed, with the
    // number of bytes sent.
    virtual int Write(const std::uint8_t* data, int count) = 0;
    // Returns as soon as count bytes have arrived, or when the read time-out has passed with what
    // arrived by then (0..count). A short count is not a failure; a broken link is.
    virtual int Read(std::uint8_t* buffer, int count) = 0;
    // Discards what was received and not yet read.
    virtual void ClearInput() = 0;
    // Discards what is queued for sending and not yet sent.
    virtual void ClearOutput() = 0;
};
