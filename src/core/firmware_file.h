#pragma once
// Firmware files: a text that spells the firmware image as hexadecimal byte values. The image is a run
// of frames, each its 16-bit length L (high byte first) and L opaque bytes; nothing here looks into a
// payload. Each program reads the text its own way; both refuse an image whose frames do not fit it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The configurator has room for 256 KiB of image.
inline constexpr std::size_t kConfiguratorImageLimit = 262144;

struct FirmwareRead {
    std::vector<std::uint8_t> image; // the bytes read so far

    // Why nothing may be sent, in the program's words; empty when the image can be uploaded.
    std::string error;
};

// The configurator's reader: numbers of one or two hexadecimal digits, white space between them
// allowed, up to the first character that starts no number. Two digits always make one byte. Its
// messages are bilingual.
FirmwareRead ReadConfiguratorFirmware(std::string_view text);

// The uploader's reader: nothing but digit pairs, one byte each. A character that is not a digit
// gives the conversion error "'$c' is not a valid integer value"; its messages are English.
FirmwareRead ReadUploaderFirmware(std::string_view text);
