// Feeds arbitrary text to the configurator's firmware reader: an accepted image fits its room and
// its frames, and the exchange sends it whole.

#include "firmware_fuzz_support.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FirmwareRead read = ReadConfiguratorFirmware({reinterpret_cast<const char*>(data), size});
    if (read.error.empty() && read.image.size() > kConfiguratorImageLimit)
        __builtin_trap();
    CheckAcceptedImage(read);
    return 0;
}
