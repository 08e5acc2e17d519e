#include "file_error.h"
#include "settings_file.h"
#include "target_grid_model.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

// A window as it starts: no sensor chosen, the design texts, an empty grid.
SettingsValues DefaultWindow() {
    SettingsValues values;
    values.language = 0;
    values.sensorType = -1;
    values.windowSpan = 10;
    values.o2Reference = settingsNumber("30", 3);
    values.fastInterval = settingsNumber("2", 2);
    values.fineInterval = settingsNumber("4", 2);
    values.idleRpm = settingsNumber("1200", 4);
    values.idleTps = settingsNumber("2", 2);
    return values;
}

struct NumberCase {
    const char* text;
    int limit;
    int stored;
};

class SettingsNumbers : public ::testing::TestWithParam<NumberCase> {};

} // namespace

TEST_P(SettingsNumbers, TheTextEndsAtABlankOrTheLimitWithinItsFirstFourCharacters) {
    const NumberCase& c = GetParam();
    EXPECT_EQ(settingsNumber(c.text, c.limit), c.stored) << '"' << c.text << "\" limit " << c.limit;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SettingsNumbers,
    ::testing::Values(NumberCase{"123456", 4, 0xE240}, // read whole, low 16 bits
                      NumberCase{"12345", 4, 0x3039}, NumberCase{"123", 2, 12}, NumberCase{"30", 3, 30},
                      NumberCase{"1234", 3, 123}, NumberCase{"12 3", 4, 12}, NumberCase{" 5", 4, 0},
                      NumberCase{"", 2, 0}, NumberCase{"-5", 2, 0xFFFB}, NumberCase{"+7", 3, 7},
                      NumberCase{"abc", 3, 0}, NumberCase{"5x", 2, 5}, NumberCase{"9999999999", 4, 0xFFFF}));

TEST(SettingsFile, ADefaultWindowWritesTheKnown261Bytes) {
    std::vector<std::uint8_t> expected = {0, 0xFF, 1, 1, 1, 0x00, 0x0A, 0x00, 0x1E, 0, 0, 0, 0};
    expected.insert(expected.end(), 240, 0);
    for (const std::uint8_t byte : {0x00, 0x02, 0x00, 0x04, 0x04, 0xB0, 0x00, 0x02})
        expected.push_back(byte);
    EXPECT_EQ(encodeSettings(DefaultWindow()), expected);
    EXPECT_EQ(expected.size(), SettingsFileSize);
}

TEST(SettingsFile, ReadsBackWhatItWroteWithSignedIndexesAndUnsignedWords) {
    SettingsValues values = DefaultWindow();
    values.language = 1;
    values.showVafr = false;
    values.vafRises = false;
    values.tpsRaw = true;
    values.windowSpan = 65535;
    values.tpsMin = 18;
    values.tpsMax = 245;
    for (int k = 0; k < SettingsGridCells; ++k)
        values.gridCells[k] = 1000 + k;
    values.idleRpm = settingsNumber("123456", 4);
    const SettingsRead read = decodeSettings(encodeSettings(values));
    EXPECT_EQ(read.language, 1);
    EXPECT_EQ(read.sensorType, -1);
    EXPECT_EQ(read.showVafr, false);
    EXPECT_EQ(read.vafRises, false);
    EXPECT_EQ(read.tpsRaw, true);
    EXPECT_EQ(read.windowSpan, 65535);
    EXPECT_EQ(read.o2Reference, 30);
    EXPECT_EQ(read.tpsMin, 18);
    EXPECT_EQ(read.tpsMax, 245);
    for (int k = 0; k < SettingsGridCells; ++k)
        EXPECT_EQ(read.gridCells[k], 1000 + k) << k;
    EXPECT_EQ(read.fastInterval, 2);
    EXPECT_EQ(read.fineInterval, 4);
    EXPECT_EQ(read.idleRpm, 57920);
    EXPECT_EQ(read.idleTps, 2);
}

TEST(SettingsFile, AShortFileHoldsOnlyTheFieldsItCovers) {
    const std::vector<std::uint8_t> whole = encodeSettings(DefaultWindow());
    const struct {
        std::size_t size;
        bool language, sensorType, vafRises, windowSpan, tpsMax;
        int cellsRead;
        bool idleTps;
    } cases[] = {
        {0, false, false, false, false, false, 0, false},      // empty: nothing changes
        {1, true, false, false, false, false, 0, false},       // the language only
        {6, true, true, true, false, false, 0, false},         // half a word is no word
        {13, true, true, true, true, true, 0, false},          // up to the calibration
        {18, true, true, true, true, true, 2, false},          // two cells and half of the third
        {260, true, true, true, true, true, 120, false},       // the last word cut
        {261, true, true, true, true, true, 120, true},        // whole
        {300, true, true, true, true, true, 120, true},        // longer: the rest is ignored
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> bytes = whole;
        bytes.resize(c.size, 0x55);
        const SettingsRead read = decodeSettings(bytes);
        EXPECT_EQ(read.language.has_value(), c.language) << c.size;
        EXPECT_EQ(read.sensorType.has_value(), c.sensorType) << c.size;
        EXPECT_EQ(read.vafRises.has_value(), c.vafRises) << c.size;
        EXPECT_EQ(read.windowSpan.has_value(), c.windowSpan) << c.size;
        EXPECT_EQ(read.tpsMax.has_value(), c.tpsMax) << c.size;
        int cells = 0;
        for (const std::optional<int>& cell : read.gridCells)
            cells += cell.has_value();
        EXPECT_EQ(cells, c.cellsRead) << c.size;
        EXPECT_EQ(read.idleTps.has_value(), c.idleTps) << c.size;
    }
}

TEST(SettingsFile, TheGridIsStoredRowByRowWithoutTheCornerAndLoadsAsDecimalTexts) {
    TargetGridModel grid;
    grid.SetCalibration(20, 230);
    grid.SetCell(0, 0, "100");   // first stored cell
    grid.SetCell(10, 9, "147");  // last cell of row 9
    grid.SetCell(1, 10, "1000"); // first speed header
    grid.SetCell(10, 10, "12345");
    grid.SetCell(0, 10, "77"); // the corner: not stored
    grid.SetCell(5, 5, "abc");
    SettingsValues values;
    grid.SaveTo(values);
    EXPECT_EQ(values.tpsMin, 20);
    EXPECT_EQ(values.tpsMax, 230);
    EXPECT_EQ(values.gridCells[0], 100);
    EXPECT_EQ(values.gridCells[109], 147);
    EXPECT_EQ(values.gridCells[110], 1000);
    EXPECT_EQ(values.gridCells[119], 12345);
    EXPECT_EQ(values.gridCells[5 * 11 + 5], 0);

    SettingsValues cut = values;
    std::vector<std::uint8_t> bytes = encodeSettings(cut);
    bytes.resize(13 + 2 * 110); // through row 9
    TargetGridModel loaded;
    loaded.LoadFrom(decodeSettings(bytes));
    EXPECT_EQ(loaded.TpsMin(), 20);
    EXPECT_EQ(loaded.TpsMax(), 230);
    EXPECT_EQ(loaded.Cell(0, 0), "100");
    EXPECT_EQ(loaded.Cell(10, 9), "147");
    EXPECT_EQ(loaded.Cell(5, 5), "0") << "every cell read comes back as a number";
    EXPECT_EQ(loaded.Cell(1, 10), "") << "past the end of the file";
    EXPECT_EQ(loaded.Cell(0, 10), "");
}

TEST(SettingsFile, SavedFileReadsBackAndAMissingOneIsAReadError) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zarni-settings-test";
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / "config.cfg";
    saveSettingsFile(file, DefaultWindow());
    EXPECT_EQ(std::filesystem::file_size(file), SettingsFileSize);
    EXPECT_EQ(readSettingsFile(file).idleRpm, 1200);
    EXPECT_THROW(readSettingsFile(folder / "missing.cfg"), FileError);
    std::filesystem::remove_all(folder);
}
