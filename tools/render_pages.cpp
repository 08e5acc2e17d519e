// Usage: render_pages OUTPUT_FOLDER   (run with QT_QPA_PLATFORM=offscreen)
// Writes one PNG per page of the main window, one of the progress window, and one of the log page
// with a ninety-second drive of the simulated converter's engine.

#include "converter_model.h"
#include "live_packet.h"
#include "live_processing.h"
#include "log.h"
#include "log_chart.h"
#include "main_window.h"
#include "progress_window.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QTabWidget>

#include <algorithm>
#include <cstdio>

namespace {

bool Save(QWidget* widget, const QString& path) {
    QApplication::processEvents();
    const bool saved = widget->grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}

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

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (QStyle* style = QStyleFactory::create("Fusion"))
        app.setStyle(style);
    // The design captions: no settings of the user's, as at a first start.
    QStandardPaths::setTestModeEnabled(true);
    QFile::remove(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/config.cfg");
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("pages");
    QDir().mkpath(folder);

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
        ok = Save(&form, folder + "/" + page.file) && ok;
    }
    RecordSimulatedDrive(*form.LiveData(), 90000);
    form.findChild<QTabWidget*>("MainPageControl")->setCurrentIndex(2);
    ok = Save(&form, folder + "/9-log-with-a-drive.png") && ok;
    TForm2 progress(&form);
    progress.show();
    ok = Save(&progress, folder + "/8-progress-window.png") && ok;
    return ok ? 0 : 1;
}
