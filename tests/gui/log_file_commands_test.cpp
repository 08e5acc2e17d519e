// The log page's open and save commands and "Сохранить все" through the window's dialogs, on real
// files: what a save writes after a run or a load, the chart a load draws, and the refusals.

#include "file_action.h"
#include "gui_test_support.h"
#include "log.h"
#include "log_chart.h"
#include "log_file.h"
#include "main_window.h"
#include "message_box_recorder.h"
#include "o2_target_grid.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QTemporaryDir>
#include <qcustomplot.h>

namespace {

class LogFileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        previousChooser = TFileAction::DialogChooser();
        TFileAction::DialogChooser() = [this](TFileAction& action) {
            proposed << action.objectName() + " " + action.FileName;
            return answers.isEmpty() ? QString() : answers.takeFirst();
        };
    }
    void TearDown() override { TFileAction::DialogChooser() = previousChooser; }

    QAction* LogMenuItem(int position) {
        return Find<QMenuBar>(&form, "ActionMainMenuBarLogGraph")->actions().at(position);
    }
    void RunDialog(QAction* item, const QString& fileName) {
        answers = {fileName};
        item->trigger();
    }
    QString PathOf(const QString& name) const { return folder.filePath(name); }

    static std::vector<LogSample> Run(int n) {
        std::vector<LogSample> samples(static_cast<std::size_t>(n));
        for (int k = 0; k < n; ++k) {
            samples[std::size_t(k)][LogSeries::MAF] = k % 256;
            samples[std::size_t(k)][LogSeries::RPM] = 500 + k;
            samples[std::size_t(k)][LogSeries::Corr] = -(k % 7);
        }
        return samples;
    }
    static QByteArray Bytes(const std::vector<std::uint8_t>& bytes) {
        return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    }
    static QByteArray ReadFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void WriteFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    MessageBoxRecorder boxes;
    TForm1 form;
    QTemporaryDir folder;
    QStringList answers;
    QStringList proposed;
    TFileAction::Chooser previousChooser;
};

} // namespace

TEST_F(LogFileCommandsTest, ALoadedLogIsDrawnAndSavedBackWithItsOwnCalibration) {
    const QByteArray file = Bytes(encodeLogFile(Run(500), {30, 220}));
    WriteFile(PathOf("drive.log"), file);
    form.O2Grid()->SetCalibration(1, 2);
    RunDialog(LogMenuItem(0), PathOf("drive.log"));
    EXPECT_EQ(form.LiveData()->Store().Size(), 500u);
    EXPECT_EQ(form.LiveData()->Chart().ViewEnd, 499);
    EXPECT_EQ(Find<QCustomPlot>(&form, "ChartLog")->graph(0)->data()->size(), 500);
    EXPECT_TRUE(form.LiveData()->DataReceived());

    RunDialog(LogMenuItem(1), PathOf("again.LOG"));
    EXPECT_EQ(ReadFile(PathOf("again.LOG.log")), file) << "the loaded file's calibration, not the grid's";
    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join(" | ").toStdString();
}

TEST_F(LogFileCommandsTest, ALiveRunsLogCarriesTheCalibrationInForce) {
    for (const LogSample& sample : Run(200))
        form.LiveData()->Store().Append(sample);
    form.O2Grid()->SetCalibration(18, 245);
    RunDialog(LogMenuItem(1), PathOf("run"));
    const QByteArray saved = ReadFile(PathOf("run.log"));
    ASSERT_EQ(saved.size(), 15 + 15 * 200);
    EXPECT_EQ(quint8(saved[0]), 18);
    EXPECT_EQ(quint8(saved[1]), 245);
}

TEST_F(LogFileCommandsTest, FailuresAreNamedAndLeaveWhatWasThere) {
    for (const LogSample& sample : Run(200))
        form.LiveData()->Store().Append(sample);
    RunDialog(LogMenuItem(0), PathOf("missing.log"));
    EXPECT_EQ(boxes.Texts(), QStringList({PathOf("missing.log") + "Log file load error"}));
    EXPECT_EQ(form.LiveData()->Store().Size(), 200u);

    boxes.Clear();
    QDir().mkdir(PathOf("taken.log"));
    RunDialog(LogMenuItem(1), PathOf("taken"));
    EXPECT_EQ(boxes.Texts(), QStringList({"Can't delete file before saving"}));
    EXPECT_TRUE(QFileInfo(PathOf("taken.log")).isDir());

    boxes.Clear();
    RunDialog(LogMenuItem(1), PathOf("no-folder/run"));
    EXPECT_EQ(boxes.Texts(), QStringList({"Log file save error"}));
}

TEST_F(LogFileCommandsTest, TheRunExportsAsCsvBesideItsLog) {
    for (const LogSample& sample : Run(3))
        form.LiveData()->Store().Append(sample);
    RunDialog(LogMenuItem(3), PathOf("run"));
    const QList<QByteArray> rows = ReadFile(PathOf("run.csv")).split('\n');
    ASSERT_EQ(rows.size(), 5) << "header, three samples, the last line's end";
    EXPECT_EQ(rows[0], "Time,MAF,TPS,Converter,Tab,Marker,Enrichment,RPM,O2,Corr,IAT,ECT,O2SM,LogCorr");
    EXPECT_EQ(rows[2], "0.01,1,0,0,0,0,-100,2994,0,-1,0,0,0,0")
        << "sample 1: MAF 1, period 501, a table of 0";
}

TEST_F(LogFileCommandsTest, SaveAllAsksForTheTableThenTheLogEachWithTheDateAndTimeName) {
    for (const LogSample& sample : Run(200))
        form.LiveData()->Store().Append(sample);
    answers = {PathOf("all"), PathOf("all")};
    Find<QMenuBar>(&form, "ActionMainMenuBarDashboard")->actions().at(0)->trigger();
    ASSERT_EQ(proposed.size(), 2);
    EXPECT_TRUE(proposed[0].startsWith("TabFileSave D")) << proposed[0].toStdString();
    EXPECT_TRUE(proposed[1].startsWith("LogFileSave D")) << proposed[1].toStdString();
    EXPECT_EQ(ReadFile(PathOf("all.tab")).size(), 512);
    EXPECT_EQ(ReadFile(PathOf("all.log")).size(), 15 + 15 * 200);
}
