#pragma once
// Firmware files for the upload tests of both programs, written into a temporary folder.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

// Two frames: 00 03 AA BB CC and 00 01 DD.
inline const QByteArray kTwoFramesText = "0003AABBCC0001DD";
inline const std::vector<std::vector<std::uint8_t>> kFramesOfTwo = {{0x00, 0x03, 0xAA, 0xBB, 0xCC},
                                                                    {0x00, 0x01, 0xDD}};

// The file "firmware.enc" of the folder, holding text (replaced on each call).
inline QString WriteFirmwareFile(const QTemporaryDir& folder, const QByteArray& text) {
    const QString path = folder.filePath("firmware.enc");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    EXPECT_EQ(file.write(text), text.size());
    return path;
}
