#include "log_csv.h"

#include "file_io.h"
#include "live_processing.h"
#include "log_view.h"

#include <cstdint>
#include <span>

namespace {

const char* const Header = "Time,MAF,TPS,Converter,Tab,Marker,Enrichment,RPM,O2,Corr,IAT,ECT,O2SM,LogCorr\n";

void appendTime(std::string& row, std::size_t index) {
    const std::size_t hundredths = index % 100;
    row += std::to_string(index / 100);
    row += hundredths < 10 ? ".0" : ".";
    row += std::to_string(hundredths);
}

} // namespace

std::string encodeLogCsv(const LogStore::View& store, const TableOutput& tab) {
    std::string csv = Header;
    for (std::size_t index = 0; index < store.Size(); ++index) {
        const LogSample& sample = store[index];
        appendTime(csv, index);
        for (int series = 0; series < kChartSeriesCount; ++series) {
            const int value = ChartSeries(series) == ChartSeries::Rpm
                                  ? (sample[LogSeries::RPM] == 0 ? 0 : RpmFromPeriod(sample[LogSeries::RPM]))
                                  : DrawnValue(ChartSeries(series), sample, tab);
            csv += ',';
            csv += std::to_string(value);
        }
        csv += '\n';
    }
    return csv;
}

std::optional<std::filesystem::path> saveLogCsv(const std::filesystem::path& name, LogStore& store,
                                                const TableOutput& tab) {
    std::string csv;
    {
        LogStore::View view = store.Lock();
        if (view.Size() == 0)
            return std::nullopt;
        csv = encodeLogCsv(view, tab);
    }
    std::filesystem::path target = name;
    const std::string text = name.string();
    if (text.size() < 4 || text.compare(text.size() - 4, 4, ".csv") != 0)
        target = std::filesystem::path(text + ".csv");
    saveFileReplacing(target, std::span(reinterpret_cast<const std::uint8_t*>(csv.data()), csv.size()));
    return target;
}
