#include "converter_protocol.h"

#include "numbers.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <system_error>
#include <thread>

namespace {

void send(BytePort& port, std::span<const std::uint8_t> bytes) {
    const int count = static_cast<int>(bytes.size());
    if (port.Write(bytes.data(), count) < count)
        throw ESerialError(kWriteFailedText, static_cast<int>(std::errc::timed_out));
}

void send(BytePort& port, std::initializer_list<std::uint8_t> bytes) {
    send(port, std::span(bytes.begin(), bytes.size()));
}

} // namespace

std::string linkErrorMessage(std::string_view code, int received, int expected) {
    if (code.starts_with('E'))
        return "Converter doesn't respond. Please check supply voltage,COM port cable, Bluetooth "
               "adapter.\n\nКонвертер не отвечает. Проверьте наличие питания, кабель COM порта, адаптер "
               "Bluetooth\n\n\n" +
               std::to_string(received) + " of/из " + std::to_string(expected) + " Recieved/Получено";
    if (code.starts_with('V'))
        return "Verification error.\n\nОшибка верификации.\n\n\n";
    return {};
}

std::string versionText(int version, char separator) {
    return shortestDecimalText(version * 0.1, separator);
}

VersionReply ReadVersion(BytePort& port) {
    port.ClearInput();
    send(port, {'s', 'v'});
    std::uint8_t reply = 0;
    if (port.Read(&reply, 1) == 1)
        return {reply, std::nullopt};
    return {0, LinkFailure{std::string(ErrorConnect), 0, 1}};
}

TablesReply ReadTables(BytePort& port) {
    port.ClearInput();
    send(port, {'s', 'r'});
    TableImageBytes bytes{};
    const int received = port.Read(bytes.data(), TableImageSize);
    if (received < TableImageSize)
        return {std::nullopt, LinkFailure{std::string(ErrorConnect), received, TableImageSize}};
    TableImage image{};
    std::copy(bytes.begin(), bytes.end(), image.begin());
    return {image, std::nullopt};
}

std::optional<LinkFailure> WriteTables(BytePort& port, const TableImage& image, const WritePacing& pacing) {
    port.ClearInput();
    port.ClearOutput();
    send(port, {'s', 'w'});
    send(port, imageBytes(image));
    if (pacing.started)
        pacing.started();
    // Paced against the start, so the time the steps' display takes does not add up.
    auto next = std::chrono::steady_clock::now();
    for (int step = 0; step < WriteSteps; ++step) {
        next += pacing.stepPause;
        std::this_thread::sleep_until(next);
        if (pacing.stepped)
            pacing.stepped();
    }
    if (pacing.finished)
        pacing.finished();

    port.ClearInput();
    port.ClearOutput();
    send(port, {'s', 'r'});
    TableImageBytes readBack{};
    const int received = port.Read(readBack.data(), TableImageSize);
    if (received < TableImageSize)
        return LinkFailure{std::string(ErrorConnectReadBack), received, TableImageSize};
    for (int i = 0; i < TableImageSize; ++i)
        if (image[i] != readBack[i])
            return LinkFailure{std::string(VerificationError), received, TableImageSize};
    return std::nullopt;
}

void SendTablesLive(BytePort& port, const TableImage& image, LiveStream stream) {
    if (stream == LiveStream::Stopped) {
        port.ClearInput();
        port.ClearOutput();
    }
    send(port, {'t'});
    send(port, imageBytes(image));
}

void SendCorrection(BytePort& port, int correction) {
    // Unsigned, so the magnitude of the most negative int is still defined.
    const unsigned magnitude =
        correction < 0 ? 0u - static_cast<unsigned>(correction) : static_cast<unsigned>(correction);
    send(port, {'c'});
    send(port, {static_cast<std::uint8_t>(magnitude % 256), static_cast<std::uint8_t>(correction < 0)});
}

void SendWindow(BytePort& port) {
    send(port, {'g'});
    send(port, {0x00, 0xFF});
}

void sendStreamStart(BytePort& port) {
    send(port, {'s', 'l'});
}

void sendStreamStop(BytePort& port) {
    send(port, {'s'});
    std::this_thread::sleep_for(StreamStopSettle);
    port.ClearInput();
}
