// Feeds arbitrary text to the uploader's firmware reader: an accepted file is nothing but digit pairs,
// each pair one byte of the image, and the exchange sends the image whole.

#include "firmware_fuzz_support.h"

#include <cctype>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FirmwareRead read = ReadUploaderFirmware({reinterpret_cast<const char*>(data), size});
    if (read.error.empty()) {
        if (read.image.size() * 2 != size)
            __builtin_trap();
        for (std::size_t k = 0; k < size; ++k)
            if (!std::isxdigit(data[k]))
                __builtin_trap();
        const auto digit = [](std::uint8_t c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
        for (std::size_t i = 0; i < read.image.size(); ++i)
            if (read.image[i] != digit(data[2 * i]) * 16 + digit(data[2 * i + 1]))
                __builtin_trap();
    }
    CheckAcceptedImage(read);
    return 0;
}
