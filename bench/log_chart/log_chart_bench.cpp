// zarni_chart_bench: the log chart's fill on a 10-hour log (3.6 M samples of the simulated
// converter's drive), in the main window as the log page shows it after a load: the drawn samples
// chosen and converted under the store's lock, the thirteen graphs set, the plot drawn and the
// widget repainted. The whole log is the view drawn after a load or an undo; the minute is a zoom.
// Runs with QT_QPA_PLATFORM=offscreen unless another platform is set.
//
// Goal: a fill under 20 ms. Measured in the Release build on a two-core EPYC virtual machine: the
// whole log 7.0 ms (it was 520 ms while each graph was drawn as one wide antialiased polyline), a
// minute 0.64 ms (1.3 ms).

#include "converter_sequence.h"
#include "log.h"
#include "log_chart.h"
#include "main_window.h"

#include <QApplication>
#include <QTabWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstddef>

namespace {

constexpr std::size_t kTenHours = 3'600'000;
constexpr long kMinute = 6000;

void fillChart(benchmark::State& state, TLogChart& chart, long first, long last) {
    chart.ShowView(first, last);
    state.counters["step"] = static_cast<double>(chart.ViewStep);
    for (auto _ : state) {
        chart.FillChart(chart.ViewStep);
        // The plot is drawn into its buffer at once; the widget shows the buffer at the next paint.
        QApplication::processEvents();
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window reads and writes its settings in per-user folders: a temporary one of this run.
    const QTemporaryDir userFolders;
    if (!userFolders.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", userFolders.filePath("config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", userFolders.filePath("data").toLocal8Bit());
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Zarni");
    QApplication::setApplicationName("ZarniConfigurator");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;

    TForm1 form;
    form.show();
    auto* pages = form.findChild<QTabWidget*>("MainPageControl");
    auto* logPage = form.findChild<QWidget*>("LogTabSheet");
    if (!pages || !logPage)
        return 1;
    pages->setCurrentWidget(logPage);
    QApplication::processEvents();
    for (const LogSample& sample : ConverterSequence(kTenHours))
        form.LiveData()->Store().Append(sample);
    TLogChart& chart = form.LiveData()->Chart();

    benchmark::RegisterBenchmark("BM_FillChart/whole_log", [&chart](benchmark::State& state) {
        fillChart(state, chart, 0, static_cast<long>(kTenHours) - 1);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_FillChart/a_minute", [&chart](benchmark::State& state) {
        const long middle = static_cast<long>(kTenHours) / 2;
        fillChart(state, chart, middle, middle + kMinute);
    })->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
