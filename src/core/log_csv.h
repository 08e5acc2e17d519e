#pragma once
// The log store as CSV, for spreadsheets and other log viewers: a header row, then one row per
// sample with its time in seconds (two decimals) and the value every log chart series draws, in the
// chart's order, except engine speed in rpm rather than rpm/100. "," between fields and "." as the
// decimal point, whatever the system's locale.

#include "log_store.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

// tab gives the working table's output for a MAF at a raw throttle value.
using TableOutput = std::function<int(int maf, int tps)>;

std::string encodeLogCsv(const LogStore::View& store, const TableOutput& tab);

// ".csv" is appended unless the name ends in exactly ".csv". An empty store writes nothing and gives
// no path. Writes aside and replaces; throws FileError as saveFileReplacing does. The caller must not
// hold a view of the store.
std::optional<std::filesystem::path> saveLogCsv(const std::filesystem::path& name, LogStore& store,
                                                const TableOutput& tab);
