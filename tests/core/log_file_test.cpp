#include "log_file.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;
using Samples = std::vector<LogSample>;

// Series in file order: Converter, Marker, Enrichment, MAF, TPS, RPM, O2, Corr, IAT, ECT, O2SM, LogCorr.
LogSample sample(std::array<int, kLogSeriesCount> values) {
    return LogSample{values};
}

// Distinct values over every series' whole range, so a byte read from the wrong offset shows.
Samples patternedSamples(std::size_t count) {
    Samples samples;
    for (std::size_t n = 0; n < count; ++n) {
        const int i = static_cast<int>(n);
        samples.push_back(
            sample({(i * 7 + 1) % 256, (i % 2) * 128, (i * 3 + 128) % 256, (i * 5) % 256, (i * 11 + 2) % 256,
                    (i * 263 + 17) % 65536, (i * 13) % 256, (i * 17) % 511 - 255, (i * 19 + 40) % 256,
                    (i * 23 + 80) % 256, (i * 29) % 256, (i * 31 + 100) % 511 - 255}));
    }
    return samples;
}

const Bytes CurrentHeader{10, 200, 'Z', 'a', 'R', 'n', 'I', 0, 0, 0, 1, 0, 0, 0, 0};

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes withByte(Bytes bytes, std::size_t offset, std::uint8_t value) {
    bytes[offset] = value;
    return bytes;
}

// Each test works in a folder of its own under the system's temporary folder.
class LogFileTest : public testing::Test {
protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("log_file_test_") + std::to_string(::getpid()) + "_" +
                           info->test_suite_name() + "_" + info->name();
        std::replace(name.begin(), name.end(), '/', '_');
        folder = fs::temp_directory_path() / name;
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    fs::path write(const std::string& name, const Bytes& bytes) const {
        const fs::path path = folder / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    static Bytes contentOf(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::vector<std::string> folderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    static void fill(LogStore& store, const Samples& samples) {
        for (const LogSample& s : samples)
            store.Append(s);
    }

    static Samples contentOf(const LogStore& store) { return store.Newest(store.Size()); }

    fs::path folder;
};

struct RoundTripCase {
    const char* name;
    Samples samples;
    LogTpsRange tps;
};

class LogFileRoundTrip : public LogFileTest, public testing::WithParamInterface<RoundTripCase> {};

TEST_P(LogFileRoundTrip, SavedFileHasOneRecordPerSampleAndLoadsBackUnchanged) {
    const RoundTripCase& c = GetParam();
    LogStore saved;
    fill(saved, c.samples);
    const std::optional<fs::path> path = saveLogFile(folder / "run.log", saved, c.tps);
    ASSERT_EQ(path, folder / "run.log");
    EXPECT_EQ(fs::file_size(*path), LogFileHeaderSize + LogFileRecordSize * c.samples.size());

    LogStore loaded;
    loaded.Append(sample({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1})); // replaced, not appended to
    EXPECT_EQ(loadLogFile(*path, loaded), c.tps);
    const Samples back = contentOf(loaded);
    ASSERT_EQ(back.size(), c.samples.size());
    for (std::size_t i = 0; i < back.size(); ++i)
        ASSERT_EQ(back[i], c.samples[i]) << "sample " << i;
}

INSTANTIATE_TEST_SUITE_P(
    LogFile, LogFileRoundTrip,
    testing::Values(
        RoundTripCase{"OneSample", {sample({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12})}, {0, 0}},
        RoundTripCase{"NegativeCorrections",
                      {sample({0, 0, 0, 0, 0, 0, 0, -5, 0, 0, 0, -5}),
                       sample({0, 0, 0, 0, 0, 0, 0, -255, 0, 0, 0, -1}),
                       sample({0, 0, 0, 0, 0, 0, 0, 255, 0, 0, 0, 128}),
                       sample({0, 0, 0, 0, 0, 0, 0, -128, 0, 0, 0, -128})},
                      {3, 250}},
        RoundTripCase{"RpmAboveAByte",
                      {sample({0, 0, 0, 0, 0, 256, 0, 0, 0, 0, 0, 0}),
                       sample({0, 0, 0, 0, 0, 0x1234, 0, 0, 0, 0, 0, 0}),
                       sample({0, 0, 0, 0, 0, 65535, 0, 0, 0, 0, 0, 0})},
                      {255, 255}},
        RoundTripCase{"EverySeriesOverTwoChunks", patternedSamples(LogStore::kChunkSamples + 5), {40, 190}}),
    [](const testing::TestParamInfo<RoundTripCase>& info) { return info.param.name; });

struct RecordCase {
    const char* name;
    LogSample sample;
    Bytes record;
};

class LogFileRecord : public testing::TestWithParam<RecordCase> {};

TEST_P(LogFileRecord, IsWrittenByteForByte) {
    const Bytes bytes = encodeLogFile(Samples{GetParam().sample}, {});
    ASSERT_EQ(bytes.size(), LogFileHeaderSize + LogFileRecordSize);
    EXPECT_EQ(Bytes(bytes.begin() + LogFileHeaderSize, bytes.end()), GetParam().record);
}

INSTANTIATE_TEST_SUITE_P(LogFile, LogFileRecord,
                         testing::Values(RecordCase{"InFileOrder",
                                                    sample({1, 2, 3, 4, 5, 0x0607, 8, 9, 10, 11, 12, 13}),
                                                    {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 10, 11, 12, 13, 0}},
                                         RecordCase{"MinusFiveIsFiveAndSign128",
                                                    sample({0, 128, 0, 0, 0, 0, 0, -5, 0, 0, 0, -5}),
                                                    {0, 128, 0, 0, 0, 0, 0, 0, 5, 128, 0, 0, 0, 5, 128}},
                                         RecordCase{"RpmBigEndian",
                                                    sample({0, 0, 0, 0, 0, 0xABCD, 0, 0, 0, 0, 0, 0}),
                                                    {0, 0, 0, 0, 0, 0xAB, 0xCD, 0, 0, 0, 0, 0, 0, 0, 0}},
                                         RecordCase{"OutOfRangeValuesGiveTheirLowBytes",
                                                    sample({256 + 7, -1, 511, 1000, -256, 0x12345, 300,
                                                            -256 - 3, 257, -2, 258, 259}),
                                                    {7, 255, 255, 0xE8, 0, 0x23, 0x45, 44, 3, 128, 1, 254, 2,
                                                     3, 0}}),
                         [](const testing::TestParamInfo<RecordCase>& info) { return info.param.name; });

struct HeaderCase {
    const char* name;
    LogTpsRange tps;
    std::uint8_t byte0;
    std::uint8_t byte1;
};

class LogFileHeader : public testing::TestWithParam<HeaderCase> {};

TEST_P(LogFileHeader, CarriesTheRangeMagicAndVersion) {
    const HeaderCase& c = GetParam();
    const Bytes bytes = encodeLogFile(Samples{}, c.tps);
    EXPECT_EQ(bytes, (Bytes{c.byte0, c.byte1, 'Z', 'a', 'R', 'n', 'I', 0, 0, 0, 1, 0, 0, 0, 0}));
}

INSTANTIATE_TEST_SUITE_P(LogFile, LogFileHeader,
                         testing::Values(HeaderCase{"Zero", {0, 0}, 0, 0},
                                         HeaderCase{"Calibrated", {12, 200}, 12, 200},
                                         HeaderCase{"LowBytesOnly", {300, -1}, 44, 255}),
                         [](const testing::TestParamInfo<HeaderCase>& info) { return info.param.name; });

struct LoadCase {
    const char* name;
    Bytes file;
    std::optional<LogTpsRange> tps;
    Samples samples;
};

class LogFileLoad : public LogFileTest, public testing::WithParamInterface<LoadCase> {};

TEST_P(LogFileLoad, ReplacesTheStoreWithTheWholeRecords) {
    const LoadCase& c = GetParam();
    LogStore store;
    fill(store, patternedSamples(3));
    EXPECT_EQ(loadLogFile(write("in.log", c.file), store), c.tps);
    const Samples loaded = contentOf(store);
    ASSERT_EQ(loaded.size(), c.samples.size());
    for (std::size_t i = 0; i < loaded.size(); ++i)
        EXPECT_EQ(loaded[i], c.samples[i]) << "sample " << i;

    // The bytes alone decode the same way, for callers that keep the samples apart from a store.
    const LogFileContent decoded = decodeLogFile(c.file);
    EXPECT_EQ(decoded.tps, c.tps);
    EXPECT_EQ(decoded.samples, c.samples);
}

const Bytes Record1{1, 2, 3, 4, 5, 0x01, 0x02, 6, 7, 128, 8, 9, 10, 11, 0};
const Bytes Record2{9, 8, 7, 6, 5, 0xFF, 0xFE, 4, 0, 0, 3, 2, 1, 200, 1};
const LogSample Sample1 = sample({1, 2, 3, 4, 5, 0x0102, 6, -7, 8, 9, 10, 11});
const LogSample Sample2 = sample({9, 8, 7, 6, 5, 0xFFFE, 4, 0, 3, 2, 1, -200});
const Bytes Short1{21, 22, 23, 24, 25, 0x03, 0x04, 26};
const Bytes Short2{31, 32, 33, 34, 35, 0x00, 0xFF, 36};
const LogSample EarlierSample1 = sample({21, 22, 23, 24, 25, 0x0304, 26, 0, 0, 0, 0, 0});
const LogSample EarlierSample2 = sample({31, 32, 33, 34, 35, 0x00FF, 36, 0, 0, 0, 0, 0});
const Bytes NineSkipped(9, 0xEE);

INSTANTIATE_TEST_SUITE_P(
    LogFile, LogFileLoad,
    testing::Values(
        LoadCase{"Empty", {}, std::nullopt, {}},
        LoadCase{"TenBytes", Bytes(CurrentHeader.begin(), CurrentHeader.begin() + 10), std::nullopt, {}},
        LoadCase{"FourteenBytes", Bytes(CurrentHeader.begin(), CurrentHeader.begin() + 14), std::nullopt, {}},
        LoadCase{"HeaderOnly", CurrentHeader, LogTpsRange{10, 200}, {}},
        LoadCase{"TwoRecords",
                 concat({CurrentHeader, Record1, Record2}),
                 LogTpsRange{10, 200},
                 {Sample1, Sample2}},
        LoadCase{"TrailingPartRecordIgnored",
                 concat({CurrentHeader, Record1, Bytes(Record2.begin(), Record2.begin() + 14)}),
                 LogTpsRange{10, 200},
                 {Sample1}},
        LoadCase{"ReservedBytesNotLookedAt",
                 concat({withByte(withByte(withByte(CurrentHeader, 8, 0x55), 9, 0x66), 14, 0x77), Record1}),
                 LogTpsRange{10, 200},
                 {Sample1}},
        LoadCase{"VersionTwoIsTheEarlierLayout",
                 concat({withByte(CurrentHeader, 10, 2), NineSkipped, Short1, Short2, Bytes{1, 2, 3, 4, 5}}),
                 LogTpsRange{10, 200},
                 {EarlierSample1, EarlierSample2}},
        LoadCase{"NoTerminatorAfterMagicIsTheEarlierLayout",
                 concat({withByte(CurrentHeader, 7, '!'), NineSkipped, Short1}),
                 LogTpsRange{10, 200},
                 {EarlierSample1}},
        LoadCase{"NoMagicIsTheEarlierLayout",
                 concat({Bytes(15, 0x42), NineSkipped, Short2}),
                 LogTpsRange{0x42, 0x42},
                 {EarlierSample2}},
        LoadCase{
            "EarlierLayoutShorterThanItsSkip", concat({Bytes(15, 0), Bytes(8, 1)}), LogTpsRange{0, 0}, {}},
        LoadCase{"AnyNonZeroSignByteNegates",
                 concat({CurrentHeader, Bytes{0, 0, 0, 0, 0, 0, 0, 0, 5, 1, 0, 0, 0, 6, 255}}),
                 LogTpsRange{10, 200},
                 {sample({0, 0, 0, 0, 0, 0, 0, -5, 0, 0, 0, -6})}}),
    [](const testing::TestParamInfo<LoadCase>& info) { return info.param.name; });

struct NameCase {
    const char* given;
    const char* saved;
};

class LogFileName : public testing::TestWithParam<NameCase> {};

TEST_P(LogFileName, AppendsLogUnlessTheNameEndsInExactlyDotLog) {
    EXPECT_EQ(withLogExtension(GetParam().given), fs::path(GetParam().saved));
}

INSTANTIATE_TEST_SUITE_P(LogFile, LogFileName,
                         testing::Values(NameCase{"run.LOG", "run.LOG.log"}, NameCase{"run.log", "run.log"},
                                         NameCase{"D09_12_2016_T13_45_07", "D09_12_2016_T13_45_07.log"},
                                         NameCase{"run.Log", "run.Log.log"},
                                         NameCase{"a.log.tab", "a.log.tab.log"},
                                         NameCase{"dir.log/a", "dir.log/a.log"}, NameCase{"log", "log.log"},
                                         NameCase{".log", ".log"}));

TEST_F(LogFileTest, UpperCaseExtensionIsSavedWithLogAppended) {
    LogStore store;
    fill(store, patternedSamples(2));
    EXPECT_EQ(saveLogFile(folder / "run.LOG", store, {}), folder / "run.LOG.log");
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"run.LOG.log"});
}

TEST_F(LogFileTest, EmptyStoreWritesNoFileAndLeavesAnOldOneAlone) {
    LogStore store;
    EXPECT_EQ(saveLogFile(folder / "new.log", store, {1, 2}), std::nullopt);
    const Bytes old = concat({CurrentHeader, Record1});
    const fs::path path = write("old.log", old);
    EXPECT_EQ(saveLogFile(path, store, {1, 2}), std::nullopt);
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"old.log"});
    EXPECT_EQ(contentOf(path), old);
}

TEST_F(LogFileTest, SaveReplacesALongerFileWithTheStoreOnly) {
    const fs::path path = write("old.log", Bytes(1000, 0xAA));
    LogStore store;
    fill(store, {Sample1});
    saveLogFile(path, store, {10, 200});
    EXPECT_EQ(contentOf(path), concat({CurrentHeader, Record1}));
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"old.log"}) << "no temporary file is left";
}

TEST_F(LogFileTest, SaveOntoAFolderFailsAndLeavesTheFolder) {
    const fs::path target = folder / "run.log";
    fs::create_directory(target);
    const Bytes kept{1, 2, 3};
    {
        std::ofstream(target / "inside", std::ios::binary)
            .write(reinterpret_cast<const char*>(kept.data()), static_cast<std::streamsize>(kept.size()));
    }
    LogStore store;
    fill(store, patternedSamples(4));
    try {
        saveLogFile(target, store, {});
        FAIL() << "the save should fail";
    } catch (const FileError& error) {
        EXPECT_EQ(error.reason(), FileError::Reason::CannotReplace);
        EXPECT_EQ(logFileErrorMessage(error.reason()), "Can't delete file before saving");
    }
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(contentOf(target / "inside"), kept);
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"run.log"}) << "no temporary file is left";
}

TEST_F(LogFileTest, SaveIntoAMissingFolderFailsAsASaveError) {
    LogStore store;
    fill(store, patternedSamples(1));
    try {
        saveLogFile(folder / "missing" / "run.log", store, {});
        FAIL() << "the save should fail";
    } catch (const FileError& error) {
        EXPECT_EQ(error.reason(), FileError::Reason::CannotCreate);
        EXPECT_EQ(logFileErrorMessage(error.reason()), "Log file save error");
    }
    EXPECT_TRUE(folderEntries().empty());
}

TEST_F(LogFileTest, LoadOfAMissingFileOrAFolderFailsAndLeavesTheStore) {
    fs::create_directory(folder / "d.log");
    const Samples before = patternedSamples(5);
    for (const fs::path& path : {folder / "none.log", folder / "d.log"}) {
        LogStore store;
        fill(store, before);
        try {
            loadLogFile(path, store);
            ADD_FAILURE() << path << " should not load";
        } catch (const FileError& error) {
            EXPECT_EQ(error.reason(), FileError::Reason::CannotRead);
            EXPECT_EQ(logFileErrorMessage(error.reason()), "Log file load error");
        }
        EXPECT_EQ(contentOf(store), before) << path;
    }
}

} // namespace
