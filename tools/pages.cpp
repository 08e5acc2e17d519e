#include "render_steps.h"

#include "converter_model.h"
#include "live_packet.h"
#include "live_processing.h"
#include "log.h"
#include "log_chart.h"
#include "main_window.h"
#include "progress_window.h"
#include "render_support.h"

#include <QAction>
#include <QTabWidget>

#include <algorithm>

namespace {

// What the reader would have stored from the simulated converter's stream in that time.
void RecordSimulatedDrive(Log& log, std::int64_t milliseconds) {
    ConverterModel converter;
    const std::uint8_t start[] = {'s', 'l'};
    converter.Feed(start, 0);
    const ConverterModel::Bytes stream = converter.Poll(milliseconds);
    LivePacket packet;
    // The first packet is the sign of life.
    for (std::size_t at = LivePacket::kSize; at + LivePacket::kSize <= stream.size();
         at += LivePacket::kSize) {
        std::copy_n(stream.begin() + static_cast<std::ptrdiff_t>(at), LivePacket::kSize,
                    packet.bytes.begin());
        log.Store().Append(packet.ToSample(false, 0));
    }
    long n = 0;
    {
        LogStore::View view = log.Store().Lock();
        SmoothO2(view);
        n = static_cast<long>(view.Size());
    }
    log.Chart().ShowView(0, n - 2);
}

} // namespace

bool RenderPages(const QString& folder) {
    TForm1 form;
    form.show();
    // The 1:1 table, so the table chart shows its curves.
    form.findChild<QAction*>("ActionTableOneToOne")->trigger();
    auto* const tablePages = form.findChild<QTabWidget*>("TablePageControl");
    auto* const setupPages = form.findChild<QTabWidget*>("PageControl1");
    bool ok = true;
    const struct {
        QTabWidget* inner;
        int innerIndex;
        int mainIndex;
        const char* file;
    } pages[] = {{nullptr, 0, 0, "1-main.png"},
                 {tablePages, 0, 1, "2-table-graph.png"},
                 {tablePages, 1, 1, "3-table-compare.png"},
                 {nullptr, 0, 2, "4-log.png"},
                 {nullptr, 0, 3, "5-dashboard.png"},
                 {setupPages, 0, 4, "6-autotuning-options.png"},
                 {setupPages, 1, 4, "7-firmware-update.png"}};
    for (const auto& page : pages) {
        form.findChild<QTabWidget*>("MainPageControl")->setCurrentIndex(page.mainIndex);
        if (page.inner)
            page.inner->setCurrentIndex(page.innerIndex);
        ok = SaveWidget(&form, folder + "/" + page.file, PngDepth::TrueColour) && ok;
    }
    RecordSimulatedDrive(*form.LiveData(), 90000);
    form.findChild<QTabWidget*>("MainPageControl")->setCurrentIndex(2);
    ok = SaveWidget(&form, folder + "/9-log-with-a-drive.png", PngDepth::TrueColour) && ok;
    TForm2 progress(&form);
    progress.show();
    ok = SaveWidget(&progress, folder + "/8-progress-window.png", PngDepth::TrueColour) && ok;
    return ok;
}
