#pragma once
// The window as a user has it before a fault strikes: a table file of theirs loaded, the settings of
// an earlier session and an earlier run's recording on disk. After the fault a test checks the three
// things the user relies on: the message, a window that works on (no control left running, the next
// converter connects, runs and takes a write without a restart), and files that are as they were.

#include "file_action.h"
#include "firmware_files.h"
#include "firmware_update.h"
#include "link_window_fixture.h"
#include "live_packet.h"
#include "log.h"
#include "log_file.h"
#include "o2_target_grid.h"
#include "port_combo_box.h"
#include "port_without_permission.h"
#include "saved_files.h"
#include "settings.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

inline const QString kVerificationText = "Verification error.\n\nОшибка верификации.\n\n\n";
inline const QString kPortErrorText = "COM port doesn't open or used by other application \n"
                                      "COM порт не выбран или используется  другим приложением";
inline const QString kFirmwareUpdated = "Firmware updated successfully.\n\nПрошивка успешно обновлена";
inline const QString kCheckTheConverter =
    "Converter doesn't respond.\nPlease check the supply voltage, COM port and firmware update "
    "jumper\n\nОшибка обновления. Конвертер не отвечает.\nПожалуйста проверьте питающее "
    "напряжение, COM порт, и перемычку обновления прошивки";

class FaultMatrixTest : public LinkWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        previousChooser = TFileAction::DialogChooser();
        TFileAction::DialogChooser() = [this](TFileAction&) {
            return answers.isEmpty() ? QString() : answers.takeFirst();
        };
        previousLister = TPortComboBox::SystemPorts();
        // The system's ports are the converters' terminals whose device nodes exist.
        TPortComboBox::SystemPorts() = [this] {
            QStringList present;
            for (const QString& path : knownPorts)
                if (QFileInfo::exists(path))
                    present << path;
            // The system hands a closed terminal's number to the next one.
            present.removeDuplicates();
            return present;
        };

        QByteArray tuned(TableImageSize, '\0');
        for (int i = 0; i < TableImageSize; ++i)
            tuned[i] = char(i < 256 ? 255 - i : 100 + i % 7);
        tableFile = folder.filePath("tuned.tab");
        QFile file(tableFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(tuned);
        file.close();
        RunFileAction("TabFileOpen", tableFile);
        form->Settings()->SaveAtClose(); // as the earlier session left them
        const QByteArray earlierRun = ToBytes(encodeLogFile(std::vector<LogSample>(3), {10, 200}));
        QFile earlier(Log::RecordingsFolder() + "/earlier-run.log");
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write(earlierRun);
        earlier.close();

        firmwareFile = WriteFirmwareFile(folder, kTwoFramesText);
        for (const QString& path :
             {tableFile, TSettings::UserSettingsFile(), earlier.fileName(), firmwareFile})
            saved.Keep(path);
        saved.KeepListing(Log::RecordingsFolder());
        saved.KeepListing(BackupsFolder());
        boxes.Clear();
    }
    void TearDown() override {
        TFileAction::DialogChooser() = previousChooser;
        TPortComboBox::SystemPorts() = previousLister;
    }

    static QByteArray ToBytes(const std::vector<std::uint8_t>& bytes) {
        return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    }
    static QString BackupsFolder() {
        return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/Backups";
    }

    // Runs f on the test's converter while its server does not touch it.
    template <class F> auto Device(F&& f) { return converter->WithModel(std::forward<F>(f)); }
    // A converter of the test's own, chosen in the window; its terminal is one of the system's ports.
    void UseConverter(FaultSwitches faults) {
        converter = std::make_unique<SimulatorServer>(ConverterModel(faults));
        knownPorts << QString::fromStdString(converter->SlavePath());
        ChoosePort(knownPorts.back());
    }
    // Connected first, then its firmware-update jumper set, as the user does it.
    void UseConverterInUpdateMode(FaultSwitches faults) {
        UseConverter(faults);
        Device([](ConverterModel& device) { device.SetUpdateMode(true); });
        boxes.Clear();
    }
    // Until the converter has sent its count-th burst of noise and the line has carried all of it.
    bool WaitForNoise(int count) {
        return QTest::qWaitFor(
            [&] {
                return Device([](const ConverterModel& device) { return device.NoiseBursts(); }) >= count &&
                       converter->AllDelivered();
            },
            5000);
    }

    void RunFileAction(const char* name, const QString& answer) {
        answers = {answer};
        Find<TFileAction>(form.get(), name)->trigger();
    }
    void Trigger(const char* action) { Find<QAction>(form.get(), action)->trigger(); }
    bool Enabled(const char* action) { return Find<QAction>(form.get(), action)->isEnabled(); }
    QString FirmwareLabel() { return Find<QLabel>(form.get(), "LabelFirmware")->text(); }
    const TableImage& Working() const { return form->WorkingTable()->Model().image(TableSet::First); }
    std::size_t Samples() { return form->LiveData()->Store().Size(); }

    // What the port list offers once it has dropped down.
    QStringList ListedPorts() {
        auto* ports = Find<QComboBox>(form.get(), "ComComboBox1");
        ports->showPopup();
        ports->hidePopup();
        QStringList listed;
        for (int i = 0; i < ports->count(); ++i)
            listed << ports->itemText(i);
        return listed;
    }

    // Nothing runs, and nothing shows as running.
    void ExpectIdle() {
        EXPECT_TRUE(Enabled("ActionStart"));
        EXPECT_FALSE(Enabled("ActionStop"));
        EXPECT_TRUE(Find<QComboBox>(form.get(), "ComboBoxO2")->isEnabled());
        EXPECT_FALSE(progress->isVisible()) << "the progress window of a write";
        EXPECT_FALSE(form->LiveData()->LiveRunGoing());
        EXPECT_FALSE(form->FirmwareUpdate()->Uploading());
    }

    void ExpectUsersFilesIntact() {
        EXPECT_TRUE(saved.Changed().isEmpty()) << saved.Changed().join(", ").toStdString();
    }

    // The recording of the run that ended last holds the store as it stands, whole.
    void ExpectTheRunRecorded() {
        const QStringList recorded = saved.NewFiles(Log::RecordingsFolder());
        ASSERT_EQ(recorded.size(), 1) << recorded.join(", ").toStdString();
        const LogTpsRange tps{form->O2Grid()->TpsMin(), form->O2Grid()->TpsMax()};
        EXPECT_EQ(SavedFiles::Bytes(recorded[0]),
                  ToBytes(encodeLogFile(form->LiveData()->Store().Lock(), tps)));
    }

    void StartRun() {
        Trigger("ActionStart");
        ASSERT_FALSE(Enabled("ActionStart")) << "the run started";
    }
    void StopRunAfter(std::size_t samples) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return Samples() >= samples; }, 5000));
        Trigger("ActionStop");
        // Until the reader's last read is over (up to a read time-out on a stream cut mid-packet): a read
        // of the tables meanwhile would be asked to wait for the logger's stop.
        form->LiveData()->JoinReader();
        ASSERT_TRUE(form->Link()->PortFree());
    }

    // The fault gone (a fresh converter), the same window connects, runs and writes as ever.
    void ExpectTheNextConverterWorks() {
        boxes.Clear();
        UseConverter({});
        EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join(" | ").toStdString();
        EXPECT_EQ(FirmwareLabel(), "Версия прошивки V 3.6");
        EXPECT_TRUE(std::equal(Working().begin(), Working().end(), ConverterModel::DefaultImage().begin()));
        StartRun();
        StopRunAfter(5);
        form->WorkingTable()->SetPoint(120, 7);
        Trigger("ActionWriteConverter");
        const auto stored = Device([](const ConverterModel& device) { return device.StoredImage(); });
        EXPECT_TRUE(std::equal(Working().begin(), Working().end(), stored.begin())) << "written and verified";
        EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join(" | ").toStdString();
        ExpectIdle();
    }

    QTemporaryDir folder;
    QString tableFile;
    QString firmwareFile;
    SavedFiles saved;
    QStringList knownPorts;
    QStringList answers;
    TFileAction::Chooser previousChooser;
    TPortComboBox::Lister previousLister;
};

// The packet fields of the samples the window stored, against the bytes the converter put on the line
// cut into packets by counting, as the reader does (the first block is the sign of life).
inline void ExpectTheStoreHoldsWhatTheLineCarried(LogStore& store,
                                                  const std::vector<ConverterModel::Bytes>& sent) {
    std::vector<std::uint8_t> line;
    for (const ConverterModel::Bytes& piece : sent)
        line.insert(line.end(), piece.begin(), piece.end());
    const LogStore::View view = store.Lock();
    if (view.Size() == 0)
        return;
    ASSERT_LE(LivePacket::kSize * (view.Size() + 1), line.size());
    for (std::size_t i = 0; i < view.Size(); ++i) {
        LivePacket packet;
        std::copy_n(line.begin() + std::ptrdiff_t(LivePacket::kSize * (i + 1)), LivePacket::kSize,
                    packet.bytes.begin());
        const LogSample expected = packet.ToSample(false, 0);
        for (LogSeries series : {LogSeries::Converter, LogSeries::Enrichment, LogSeries::MAF, LogSeries::TPS,
                                 LogSeries::RPM, LogSeries::O2})
            ASSERT_EQ(view[i][series], expected[series]) << "sample " << i;
    }
}
