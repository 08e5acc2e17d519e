#include "firmware_file.h"

#include <optional>

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Where the frames stop fitting the image: a length cut off, or a payload longer than what is left.
struct FrameFault {
    std::size_t offset; // of the frame's first length byte
    bool lengthCut;
    std::size_t announced;
    std::size_t remaining; // bytes after the length bytes
};

std::optional<FrameFault> CheckFrames(const std::vector<std::uint8_t>& image) {
    std::size_t p = 0;
    while (p < image.size()) {
        if (image.size() - p < 2)
            return FrameFault{p, true, 0, 0};
        const std::size_t length = image[p] * 256u + image[p + 1];
        const std::size_t remaining = image.size() - p - 2;
        if (length > remaining)
            return FrameFault{p, false, length, remaining};
        p += 2 + length;
    }
    return std::nullopt;
}

std::string FrameFaultText(const FrameFault& fault, bool bilingual) {
    const std::string at = std::to_string(fault.offset);
    std::string english, russian;
    if (fault.lengthCut) {
        english = "The firmware file is damaged: it ends inside the length of the frame at byte " + at + ".";
        russian = "Файл прошивки повреждён: он обрывается внутри длины кадра с байта " + at + ".";
    } else {
        const std::string announced = std::to_string(fault.announced);
        const std::string remaining = std::to_string(fault.remaining);
        english = "The firmware file is damaged: the frame at byte " + at + " announces " + announced +
                  " bytes, but only " + remaining + " follow.";
        russian = "Файл прошивки повреждён: кадр с байта " + at + " объявляет " + announced +
                  " байт, а за ним следует только " + remaining + ".";
    }
    return bilingual ? english + "\n\n" + russian : english;
}

// The checks both readers share once they hold the bytes.
FirmwareRead Checked(std::vector<std::uint8_t> image, bool bilingual) {
    FirmwareRead read{std::move(image), {}};
    if (read.image.empty())
        read.error =
            bilingual ? "No firmware in this file.\n\nВ файле нет прошивки." : "No firmware in this file.";
    else if (const auto fault = CheckFrames(read.image))
        read.error = FrameFaultText(*fault, bilingual);
    return read;
}

} // namespace

FirmwareRead ReadConfiguratorFirmware(std::string_view text) {
    std::vector<std::uint8_t> image;
    std::size_t i = 0;
    for (;;) {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        if (i == text.size() || HexValue(text[i]) < 0)
            break;
        int value = HexValue(text[i++]);
        if (i < text.size() && HexValue(text[i]) >= 0)
            value = value * 16 + HexValue(text[i++]);
        if (image.size() == kConfiguratorImageLimit)
            return {std::move(image), "The firmware file holds more than 262144 bytes.\n\n"
                                      "Файл прошивки содержит больше 262144 байт."};
        image.push_back(static_cast<std::uint8_t>(value));
    }
    return Checked(std::move(image), true);
}

FirmwareRead ReadUploaderFirmware(std::string_view text) {
    for (const char c : text)
        if (HexValue(c) < 0)
            return {{}, "'$" + std::string(1, c) + "' is not a valid integer value"};
    if (text.size() % 2 != 0)
        return {{}, "The firmware file has an odd number of digits: its last byte is incomplete."};
    std::vector<std::uint8_t> image;
    image.reserve(text.size() / 2);
    for (std::size_t k = 0; k < text.size(); k += 2)
        image.push_back(static_cast<std::uint8_t>(HexValue(text[k]) * 16 + HexValue(text[k + 1])));
    return Checked(std::move(image), false);
}
