// The user guide's pictures of the configurator. The window is driven as a user drives it, against
// the simulated converter ("Simulator" in the port list), in real time: a table write takes its
// 13 seconds and the live run is a stretch of the simulated drive.

#include "render_steps.h"

#include "autotuning_setup_page.h"
#include "live_run.h"
#include "main_page.h"
#include "main_window.h"
#include "o2_target_grid.h"
#include "progress_window.h"
#include "render_support.h"
#include "sound_player.h"
#include "table.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <qcustomplot.h>

#include <memory>
#include <utility>

namespace {

// The run's cues are not heard while the pictures are made.
class TSilence : public TSoundOutput {
public:
    bool DeviceAvailable() const override { return false; }
    bool IsPlaying() const override { return false; }
    void PlayFile(const QString&) override {}
    void Beep() override {}
};

// The throttle headers from the top row down (percent) and the speed headers from the left (rpm).
constexpr const char* kThrottleHeaders[] = {"100", "90", "80", "70", "60", "50", "40", "30", "15", "0"};
constexpr const char* kSpeedHeaders[] = {"800",  "1000", "1500", "2000", "2500",
                                         "3000", "3500", "4000", "5000", "6000"};
// Targets in tenths of an air-fuel ratio: 14.7 at part load, 12.8 from 90 % throttle up.
constexpr const char* kFullLoadTarget = "128";
constexpr int kFullLoadRows = 2;
// The simulated engine's throttle at idle and at full load.
constexpr int kThrottleClosed = 18;
constexpr int kThrottleOpen = 245;
// Moments of the live run, in milliseconds after Start: cruising with the autocorrection at work,
// and the end of the first full-throttle pull and of the engine braking after it.
constexpr int kCruiseMs = 9500;
constexpr int kRunMs = 21000;
// The knots the table is bent through: MAF input and converter output.
constexpr std::pair<int, int> kKnots[] = {{40, 40}, {100, 118}, {160, 182}, {220, 226}};
// Into the table write, whose progress is pictured.
constexpr int kWriteShownMs = 5000;

class TGuideRender {
public:
    explicit TGuideRender(const QString& folder) : folder(folder) {
        progress.FormCreate(form.WorkingTable());
        form.AdoptProgressWindow(&progress);
        form.LiveRun()->SetSoundPlayer(std::make_unique<TSoundPlayer>(std::make_unique<TSilence>()));
        form.show();
    }

    bool Run() {
        Connect();
        Save("main-page.png");
        SwitchToEnglish();
        EditTheTable();
        Save("table-graph.png");
        WriteTheTable();
        CompareTheFiles();
        Save("table-compare.png");
        SetUpAutotuning();
        LiveRun();
        ShowPage(2);
        Save("log-page.png");
        // Each step went as a user's would: no message box came up.
        return ok && boxes.Texts().isEmpty();
    }

private:
    template <class T> T* Find(const char* name, QObject* within = nullptr) {
        return (within ? within : &form)->findChild<T*>(name);
    }
    void Trigger(const char* action) { Find<QAction>(action)->trigger(); }

    // A main tab, and within the table or settings tab one of its pages.
    void ShowPage(int main, int inner = -1) {
        Find<QTabWidget>("MainPageControl")->setCurrentIndex(main);
        if (inner >= 0)
            Find<QTabWidget>(main == 1 ? "TablePageControl" : "PageControl1")->setCurrentIndex(inner);
    }
    void Save(const char* file) { ok = SaveWidget(&form, folder + "/" + file, PngDepth::Palette) && ok; }

    // As at a first start, in Russian: the simulated converter chosen, its tables and version read.
    void Connect() {
        auto* ports = Find<QComboBox>("ComComboBox1");
        ports->setCurrentIndex(ports->findText("Simulator"));
        form.MainPage()->ComComboBox1Change();
        ShowPage(0);
    }

    void SwitchToEnglish() {
        form.MainPage()->SetLanguageIndex(1);
        form.MainPage()->ComboBoxLanguageChange();
    }

    // The converter's tables are kept in a file, then Tab1 is bent through four knots with
    // interpolation on, and kept in a second file.
    void EditTheTable() {
        ShowPage(1, 0);
        Table& table = *form.WorkingTable();
        table.SaveTabFile(TableSet::First, files.filePath("converter.tab"));
        Find<QPushButton>("Interpolate", Find<QCustomPlot>("ChartTableGraph"))->click();
        for (const auto& [maf, output] : kKnots)
            table.SetPoint(maf, output);
        table.SaveTabFile(TableSet::First, files.filePath("tuned.tab"));
    }

    // The edited tables go to the converter; the picture shows the progress window over the page.
    void WriteTheTable() {
        QTimer::singleShot(kWriteShownMs, &form, [this] {
            QImage picture = form.grab().toImage();
            QPainter painter(&picture);
            painter.drawImage(progress.mapToGlobal(QPoint()) - form.mapToGlobal(QPoint()),
                              WithTitle(progress));
            painter.end();
            ok = SavePicture(picture, folder + "/table-write.png", PngDepth::Palette) && ok;
        });
        Trigger("ActionWriteConverter");
    }

    // A window's picture under a plain title bar with its title, as a desktop frames it.
    static QImage WithTitle(QWidget& window) {
        constexpr int kTitleHeight = 22;
        const QImage content = window.grab().toImage();
        QImage framed(content.width() + 2, content.height() + kTitleHeight + 1, QImage::Format_RGB32);
        framed.fill(QColor("#5A5A5A"));
        QPainter painter(&framed);
        painter.setPen(Qt::white);
        painter.drawText(QRect(8, 0, framed.width() - 16, kTitleHeight), Qt::AlignVCenter,
                         window.windowTitle());
        painter.drawImage(1, kTitleHeight, content);
        return framed;
    }

    // The converter's file as Tab#1 and the edited one as Tab#2 of the comparison page.
    void CompareTheFiles() {
        Table& comparison = *form.ComparisonTable();
        comparison.LoadTabFile(TableSet::First, files.filePath("converter.tab"));
        comparison.LoadTabFile(TableSet::Second, files.filePath("tuned.tab"));
        ShowPage(1, 1);
    }

    // The simulated converter's wide-band sensor, a target grid filled from its reference value and a
    // richer top, and the throttle calibrated to the simulated pedal's travel.
    void SetUpAutotuning() {
        ShowPage(4, 0);
        Find<QComboBox>("ComboBoxO2")->setCurrentIndex(1); // "Innovate MTX-L"
        O2TargetGrid& grid = *form.O2Grid();
        for (int row = 0; row < TargetGridModel::kHeaderRow; ++row)
            grid.SetCell(TargetGridModel::kHeaderColumn, row, kThrottleHeaders[row]);
        for (int column = 1; column < TargetGridModel::kSize; ++column)
            grid.SetCell(column, TargetGridModel::kHeaderRow, kSpeedHeaders[column - 1]);
        Find<QPushButton>("ButtonFillLoadTableWithO2RefValue")->click();
        for (int row = 0; row < kFullLoadRows; ++row)
            for (int column = 1; column < TargetGridModel::kSize; ++column)
                grid.SetCell(column, row, kFullLoadTarget);
        grid.SetCalibration(kThrottleClosed, kThrottleOpen);
        form.SetupPage()->ShowCalibration();
    }

    // Autocorrection and MAF smoothing on, Start; while cruising the dashboard, the target grid with
    // the cell in use and the factory test; Stop after the first pull.
    void LiveRun() {
        ShowPage(3);
        Find<QCheckBox>("CheckBoxAutocorr")->click();
        Find<QCheckBox>("CheckBoxWotCorr")->click();
        Trigger("ActionStart");
        RunFor(kCruiseMs);
        Save("dashboard.png");
        ShowPage(4, 0);
        Save("autotuning-setup.png");
        ShowPage(4, 1);
        Save("firmware-page.png");
        RunFor(kRunMs - kCruiseMs);
        Trigger("ActionStop");
    }

    QString folder;
    QTemporaryDir files;
    TMessageBoxAnswerer boxes;
    TForm1 form;
    TForm2 progress{&form};
    bool ok = true;
};

} // namespace

bool RenderGuidePictures(const QString& folder) {
    TGuideRender render(folder);
    const bool ok = render.Run();
    // The run's recording and the backup before the write went into the test folders; nobody needs
    // them.
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
    return ok;
}
