#pragma once
// The .log file: the whole log store, a 15-byte header (the two throttle calibration bytes, "ZaRnI",
// layout version 1) and one 15-byte record per sample. The reader also takes the earlier layout
// without a header of its own: 24 bytes skipped, then 8-byte records that lack the last five series.

#include "file_error.h"
#include "log_sample.h"
#include "log_store.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

inline constexpr std::size_t LogFileHeaderSize = 15;
inline constexpr std::size_t LogFileRecordSize = 15;
inline constexpr std::size_t LogFileEarlierSkip = 24;
inline constexpr std::size_t LogFileEarlierRecordSize = 8;

// Messages shown for failed saves and loads; a load message is the file name followed directly by
// LogFileLoadErrorMessage. A target that cannot be replaced is "Can't delete file before saving".
inline constexpr std::string_view LogFileSaveErrorMessage = "Log file save error";
inline constexpr std::string_view LogFileLoadErrorMessage = "Log file load error";

// LogTpsMin and LogTpsMax, carried in the header; only their low bytes are written.
struct LogTpsRange {
    int min = 0;
    int max = 0;
    friend bool operator==(const LogTpsRange&, const LogTpsRange&) = default;
};

struct LogFileContent {
    // Absent when the data is shorter than a header: the caller's values then stay as they are.
    std::optional<LogTpsRange> tps;
    std::vector<LogSample> samples;
};

// Header and records of every sample, in index order. Each value is written as its low byte, RPM
// big-endian, Corr and LogCorr as the low byte of their magnitude and a sign byte (128 if negative).
std::vector<std::uint8_t> encodeLogFile(std::span<const LogSample> samples, LogTpsRange tps);
std::vector<std::uint8_t> encodeLogFile(const LogStore::View& store, LogTpsRange tps);

// The pieces of a file that grows while the run goes on: the header, then the records of the store's
// samples from first on. Together they are what encodeLogFile gives.
std::vector<std::uint8_t> encodeLogHeader(LogTpsRange tps);
std::vector<std::uint8_t> encodeLogRecords(const LogStore::View& store, std::size_t first);

// Any data of at least a header's size decodes: as 15-byte records when the magic and version 1 are
// there, else as the earlier layout. A trailing part-record is ignored; damaged content is not refused.
LogFileContent decodeLogFile(std::span<const std::uint8_t> bytes);
// The same, appending the samples to the store the view holds (nothing is cleared).
std::optional<LogTpsRange> appendLogFile(std::span<const std::uint8_t> bytes, LogStore::View& store);

// The name a log is saved under: ".log" is appended unless the name ends in exactly ".log"
// (compared case-sensitively: run.LOG becomes run.LOG.log).
std::filesystem::path withLogExtension(const std::filesystem::path& name);

// Saves the store under withLogExtension(name), replacing an existing file only once the new content
// is complete; the store is locked only while it is encoded. An empty store writes nothing and gives
// no path. Throws FileError. The caller must not hold a view of the store.
std::optional<std::filesystem::path> saveLogFile(const std::filesystem::path& name, LogStore& store,
                                                 LogTpsRange tps);

// Reads the whole file, then empties the store and fills it from the file under one lock. Gives the
// header's range, or none for a file shorter than a header (the store is then left empty). Throws
// FileError (CannotRead) when the file cannot be opened or read; the store is then unchanged. The
// caller must not hold a view of the store.
std::optional<LogTpsRange> loadLogFile(const std::filesystem::path& name, LogStore& store);

// The message for a failed save or load (for a load, the caller puts the file name in front).
std::string_view logFileErrorMessage(FileError::Reason reason);
