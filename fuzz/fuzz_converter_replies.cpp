// Feeds arbitrary bytes as the converter's replies to "sv", "sr" and the read-back after "sw", short,
// long or garbage, handed over in pieces: every exchange ends with a result or a failure code the
// window has a message for, and a table read is taken only when all 512 bytes came.

#include "converter_protocol.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

// Replies come from the input in the order asked; what a read wants beyond the input does not come.
class ReplyingPort : public BytePort {
public:
    ReplyingPort(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}
    int Read(std::uint8_t* buffer, int count) override {
        const std::size_t n = std::min(size - position, static_cast<std::size_t>(count));
        std::copy_n(data + position, n, buffer);
        position += n;
        return static_cast<int>(n);
    }
    int Write(const std::uint8_t*, int count) override { return count; }
    void ClearInput() override {}
    void ClearOutput() override {}
    std::size_t Position() const { return position; }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position = 0;
};

void CheckFailure(const std::optional<LinkFailure>& failure, int expected) {
    if (!failure)
        return;
    if (failure->code.empty() || failure->received < 0 || failure->received > expected ||
        linkErrorMessage(failure->code, failure->received, expected).empty())
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ReplyingPort port(data, size);
    const VersionReply version = ReadVersion(port);
    if ((version.failure.has_value()) != (size == 0) || (size > 0 && version.version != data[0]))
        __builtin_trap();
    (void)versionText(version.version, '.');
    CheckFailure(version.failure, 1);

    const std::size_t tableStart = port.Position();
    const TablesReply tables = ReadTables(port);
    CheckFailure(tables.failure, TableImageSize);
    const bool whole = size - tableStart >= static_cast<std::size_t>(TableImageSize);
    if (tables.image.has_value() != whole || tables.failure.has_value() == whole)
        __builtin_trap();
    if (tables.image)
        for (int i = 0; i < TableImageSize; ++i)
            if ((*tables.image)[std::size_t(i)] != data[tableStart + std::size_t(i)])
                __builtin_trap();

    // The read-back of a write: it verifies only when it is the image sent.
    TableImage image{};
    for (int i = 0; i < TableImageSize; ++i)
        image[std::size_t(i)] = (i * 31) % 256;
    WritePacing pacing;
    pacing.stepPause = std::chrono::milliseconds(0);
    const std::size_t readBackStart = port.Position();
    const std::optional<LinkFailure> written = WriteTables(port, image, pacing);
    CheckFailure(written, TableImageSize);
    bool same = size - readBackStart >= static_cast<std::size_t>(TableImageSize);
    for (int i = 0; same && i < TableImageSize; ++i)
        same = data[readBackStart + std::size_t(i)] == image[std::size_t(i)];
    if (written.has_value() == same)
        __builtin_trap();
    return 0;
}
