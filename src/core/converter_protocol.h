#pragma once
// The converter's command exchanges over a byte port: the bytes that go out, the replies awaited,
// the failure codes and the texts the user is shown for them. The Qt table decides when to run an
// exchange and shows what it returns; nothing here opens a window.

#include "byte_port.h"
#include "table_image.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Failure codes; the reporter looks at the first character only.
inline constexpr std::string_view ErrorConnect = "ErrorConnect";
inline constexpr std::string_view ErrorConnectReadBack = "ErrorConnect=";
inline constexpr std::string_view VerificationError = "VerificationError";

inline constexpr std::string_view PortErrorMessage =
    "COM port doesn't open or used by other application \nCOM порт не выбран или используется  "
    "другим приложением";
inline constexpr std::string_view LoggerBusyMessage =
    "Waiting  for a dataloger's stop.\nPlease try again.\n\nЖдем остановки даталогера\nПожалуйста "
    "попробуйте еще раз";

// A reply that did not come or did not match: the code and how many of the expected bytes arrived.
struct LinkFailure {
    std::string code;
    int received = 0;
    int expected = 0;
};

// The text shown for a failure code: the no-reply text with the counts for a code beginning with
// 'E', the verification text for 'V', nothing for any other code.
std::string linkErrorMessage(std::string_view code, int received, int expected);

// The version reply as the user reads it: byte x 0.1, shortest form (36 -> "3.6", 30 -> "3").
std::string versionText(int version, char separator);

struct VersionReply {
    int version = 0; // the reply byte, 0 when none came
    std::optional<LinkFailure> failure;
};

struct TablesReply {
    std::optional<TableImage> image; // entries 0..255, only when the whole image came
    std::optional<LinkFailure> failure;
};

inline constexpr int WriteSteps = 512;
inline constexpr std::chrono::milliseconds WriteStepPause{25};

// The fixed wait after "sw" that gives the converter time to store the image, as 512 steps a
// progress display can follow. Tests shorten the pause; the converter needs the full one.
struct WritePacing {
    std::chrono::milliseconds stepPause = WriteStepPause;
    std::function<void()> started;  // the image has gone out, the steps begin
    std::function<void()> stepped;  // after each step
    std::function<void()> finished; // the steps are over, the read-back follows
};

// Every exchange throws ESerialError when the port fails. A write that cannot leave within its
// time-out counts as such a failure too: nothing else would tell that a command never went out.

// "sv", one byte back.
VersionReply ReadVersion(BytePort& port);

// "sr", the 512-byte image back.
TablesReply ReadTables(BytePort& port);

// "sw" and the image's low bytes, the paced wait, then "sr" and every entry compared as the full
// integer with its byte read back (a parameter above 255 can never verify). Returns
// ErrorConnectReadBack with the count that arrived, or VerificationError.
std::optional<LinkFailure> WriteTables(BytePort& port, const TableImage& image, const WritePacing& pacing);

// Whether the converter's live stream runs while an exchange goes out.
enum class LiveStream { Stopped, Running };

// "t" and the image, with nothing awaited: the live table, mostly sent during a run. Both queues are
// purged first only while the stream is stopped: during a run an input purge drops stream bytes the
// reader has not taken yet and shifts every later packet, and "t" has no reply to protect. Nothing is
// purged between "t" and the image, since an adapter may still hold the command when Write returns.
void SendTablesLive(BytePort& port, const TableImage& image, LiveStream stream);

// "c", the correction's magnitude modulo 256, and 1 for a negative correction, 0 otherwise.
void SendCorrection(BytePort& port, int correction);

// "g" 0x00 0xFF: the correction window command always carries the whole range.
void SendWindow(BytePort& port);

// "sl": the converter starts its live stream of 8-byte packets.
void sendStreamStart(BytePort& port);

// After "s" the converter finishes the packet it is sending (8.3 ms of line time); by this time what
// was on the line has arrived, through a USB adapter's latency timer (16 ms by default) too.
inline constexpr std::chrono::milliseconds StreamStopSettle{50};

// "s": the converter stops its live stream (it ignores it when not streaming). Waits for the line to
// settle and clears the input, so no stream byte is taken for the reply to the next command.
void sendStreamStop(BytePort& port);
