// Both firmware readers over one table of files.

#include "firmware_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct FileCase {
    const char* name;
    std::string text;
    Bytes configurator; // the bytes read, whether or not the file is refused
    std::string configuratorError;
    Bytes uploader;
    std::string uploaderError;
};

const std::string kNoFirmware = "No firmware in this file.";
const std::string kNoFirmwareBilingual = "No firmware in this file.\n\nВ файле нет прошивки.";
const Bytes kTwoFrames = {0x00, 0x03, 0xAA, 0xBB, 0xCC, 0x00, 0x01, 0xDD};

std::string Repeat(const std::string& piece, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

// 262144 bytes of image: frames of 65535 payload bytes and a last one that fills it exactly.
std::string FullImageText(bool oneByteMore) {
    std::string text;
    std::size_t left = kConfiguratorImageLimit;
    while (left > 0) {
        const std::size_t payload = std::min<std::size_t>(65535, left - 2);
        char length[5];
        std::snprintf(length, sizeof length, "%04zX", payload);
        text += length + Repeat("5A", payload);
        left -= payload + 2;
    }
    return oneByteMore ? text + "00" : text;
}

} // namespace

TEST(FirmwareFile, BothReadersOverOneTableOfFiles) {
    const FileCase cases[] = {
        {"two frames, digits only", "0003AABBCC0001DD", kTwoFrames, "", kTwoFrames, ""},
        {"lower case", "0003aabbcc0001dd", kTwoFrames, "", kTwoFrames, ""},
        {"white space between bytes",
         "00 03\tAA BB\r\nCC 00 01 DD\n",
         kTwoFrames,
         "",
         {},
         "'$ ' is not a valid integer value"},
        {"line end at the end",
         "0003AABBCC0001DD\n",
         kTwoFrames,
         "",
         {},
         "'$\n' is not a valid integer value"},
        {"single digits",
         "0 3 1 2 3",
         {0x00, 0x03, 0x01, 0x02, 0x03},
         "",
         {},
         "'$ ' is not a valid integer value"},
        {"single digits, not one frame",
         "1 2 3",
         {0x01, 0x02, 0x03},
         "The firmware file is damaged: the frame at byte 0 announces 258 bytes, but only 1 follow.\n\n"
         "Файл прошивки повреждён: кадр с байта 0 объявляет 258 байт, а за ним следует только 1.",
         {},
         "'$ ' is not a valid integer value"},
        {"reading stops at another character",
         "0001DD xyz 0001EE",
         {0x00, 0x01, 0xDD},
         "",
         {},
         "'$ ' is not a valid integer value"},
        {"empty file", "", {}, kNoFirmwareBilingual, {}, kNoFirmware},
        {"not hexadecimal from the start",
         "new firmware",
         {},
         kNoFirmwareBilingual,
         {},
         "'$n' is not a valid integer value"},
        // The configurator reads the last digit as a byte of its own.
        {"odd digit count",
         "0003AABBCC0001D",
         {0x00, 0x03, 0xAA, 0xBB, 0xCC, 0x00, 0x01, 0x0D},
         "",
         {},
         "The firmware file has an odd number of digits: its last byte is incomplete."},
        {"frame longer than the image",
         "0005AABB",
         {0x00, 0x05, 0xAA, 0xBB},
         "The firmware file is damaged: the frame at byte 0 announces 5 bytes, but only 2 follow.\n\n"
         "Файл прошивки повреждён: кадр с байта 0 объявляет 5 байт, а за ним следует только 2.",
         {0x00, 0x05, 0xAA, 0xBB},
         "The firmware file is damaged: the frame at byte 0 announces 5 bytes, but only 2 follow."},
        {"image ends inside a length",
         "0001AA00",
         {0x00, 0x01, 0xAA, 0x00},
         "The firmware file is damaged: it ends inside the length of the frame at byte 3.\n\n"
         "Файл прошивки повреждён: он обрывается внутри длины кадра с байта 3.",
         {0x00, 0x01, 0xAA, 0x00},
         "The firmware file is damaged: it ends inside the length of the frame at byte 3."},
    };
    for (const FileCase& c : cases) {
        const FirmwareRead configurator = ReadConfiguratorFirmware(c.text);
        EXPECT_EQ(configurator.error, c.configuratorError) << c.name;
        EXPECT_EQ(configurator.image, c.configurator) << c.name;
        const FirmwareRead uploader = ReadUploaderFirmware(c.text);
        EXPECT_EQ(uploader.error, c.uploaderError) << c.name;
        EXPECT_EQ(uploader.image, c.uploader) << c.name;
    }
}

TEST(FirmwareFile, TheConfiguratorHasRoomFor262144BytesTheUploaderHasNoLimit) {
    const std::string full = FullImageText(false);
    for (const FirmwareRead& read : {ReadConfiguratorFirmware(full), ReadUploaderFirmware(full)}) {
        EXPECT_EQ(read.error, "");
        EXPECT_EQ(read.image.size(), kConfiguratorImageLimit);
    }
    const std::string over = FullImageText(true);
    EXPECT_EQ(
        ReadConfiguratorFirmware(over).error,
        "The firmware file holds more than 262144 bytes.\n\nФайл прошивки содержит больше 262144 байт.");
    // One byte more is past the uploader's last frame, not past a limit.
    EXPECT_EQ(ReadUploaderFirmware(over).error,
              "The firmware file is damaged: it ends inside the length of the frame at byte 262144.");
}
