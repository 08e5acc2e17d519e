// The firmware update from the firmware page against the simulated converter in update mode, through
// the real port: what is sent, what the progress bar shows, the messages, and the combined command.

#include "autotuning_setup_page.h"
#include "file_action.h"
#include "firmware_files.h"
#include "firmware_update.h"
#include "link_window_fixture.h"
#include "live_run.h"
#include "log.h"
#include "table_model.h"

#include <QFile>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Bytes = std::vector<std::uint8_t>;

const QString kUpdated = "Firmware updated successfully.\n\nПрошивка успешно обновлена";
const QString kCheck =
    "Converter doesn't respond.\nPlease check the supply voltage, COM port and firmware update "
    "jumper\n\nОшибка обновления. Конвертер не отвечает.\nПожалуйста проверьте питающее "
    "напряжение, COM порт, и перемычку обновления прошивки";

class FirmwareUpdateTest : public LinkWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        previousChooser = TFileAction::DialogChooser();
        TFileAction::DialogChooser() = [this](TFileAction& action) {
            dialogs << action.objectName() + " " + action.DialogFilter();
            return answers.isEmpty() ? QString() : answers.takeFirst();
        };
        bar = Find<QProgressBar>(form.get(), "ProgressBar1");
        QObject::connect(bar, &QProgressBar::valueChanged, [this](int value) { progress.push_back(value); });
    }
    void TearDown() override { TFileAction::DialogChooser() = previousChooser; }

    QString FirmwareFile(const QByteArray& text) const { return WriteFirmwareFile(folder, text); }
    void ChooseConverterInUpdateMode(FaultSwitches faults, int framesInImage = 0) {
        ChooseOwnConverter(faults);
        converter->WithModel([&](ConverterModel& device) { device.SetUpdateMode(true, framesInImage); });
        boxes.Clear();
    }
    void UpdateFromFile(const QString& path) {
        answers = {path};
        Find<QAction>(form.get(), "FileOpenFirmware")->trigger();
    }
    std::vector<Bytes> AcceptedFrames() {
        return converter->WithModel([](const ConverterModel& device) { return device.AcceptedFrames(); });
    }

    QTemporaryDir folder;
    TFileAction::Chooser previousChooser;
    QStringList answers;
    QStringList dialogs;
    QProgressBar* bar = nullptr;
    std::vector<int> progress;
};

} // namespace

TEST_F(FirmwareUpdateTest, TheConverterAnswersDecideHowTheUploadEnds) {
    const struct {
        const char* name;
        FaultSwitches faults;
        QString message;
        std::size_t accepted;
        int transmissions;         // that reached the converter whole
        std::vector<int> progress; // the values the bar went through
    } cases[] = {
        {"every frame acknowledged", {}, kUpdated, 2, 2, {0, 62, 100}},
        {"three rejections, then an acknowledgement", {.rejectFrames = 3}, kUpdated, 2, 8, {0, 62, 100}},
        {"four rejections", {.rejectFrames = 4}, "CRC error.  " + kCheck, 0, 4, {0}},
        {"no answer", {.silent = true}, "\nFailed: " + kCheck, 0, 0, {0}},
        {"silent after the first frame", {.silentAfterFrames = 1}, "\nFailed: " + kCheck, 1, 2, {0, 62}},
        {"stale bytes after each reply", {.staleBytes = true}, kUpdated, 2, 2, {0, 62, 100}},
    };
    const QString path = FirmwareFile(kTwoFramesText);
    for (const auto& c : cases) {
        ChooseConverterInUpdateMode(c.faults);
        bar->setValue(50); // as the page starts
        progress.clear();
        UpdateFromFile(path);
        EXPECT_EQ(boxes.Texts(), QStringList{c.message}) << c.name;
        EXPECT_EQ(progress, c.progress) << c.name;
        const std::vector<Bytes> accepted = AcceptedFrames();
        EXPECT_EQ(accepted, std::vector<Bytes>(kFramesOfTwo.begin(), kFramesOfTwo.begin() + c.accepted))
            << c.name;
        EXPECT_EQ(converter->WithModel([](const ConverterModel& device) { return device.FramesReceived(); }),
                  c.transmissions)
            << c.name;
    }
    EXPECT_TRUE(dialogs.contains("FileOpenFirmware Firmware files (*.enc)"));
}

TEST_F(FirmwareUpdateTest, FilesThatGiveNoFramesToSendAreRefusedBeforeAnythingIsSent) {
    const struct {
        const char* name;
        QByteArray text;
        QString message;
    } cases[] = {
        {"empty file", "", "No firmware in this file.\n\nВ файле нет прошивки."},
        {"not hexadecimal from the start", "<html>", "No firmware in this file.\n\nВ файле нет прошивки."},
        {"frame longer than the image", "0005AABB",
         "The firmware file is damaged: the frame at byte 0 announces 5 bytes, but only 2 follow.\n\n"
         "Файл прошивки повреждён: кадр с байта 0 объявляет 5 байт, а за ним следует только 2."},
    };
    ChooseConverterInUpdateMode({});
    for (const auto& c : cases) {
        boxes.Clear();
        UpdateFromFile(FirmwareFile(c.text));
        EXPECT_EQ(boxes.Texts(), QStringList{c.message}) << c.name;
    }
    boxes.Clear();
    UpdateFromFile(folder.filePath("missing.enc"));
    EXPECT_EQ(boxes.Texts(), QStringList{"Error: File  not found.\n"});
    EXPECT_TRUE(progress.empty());
    EXPECT_TRUE(AcceptedFrames().empty());
}

TEST_F(FirmwareUpdateTest, ACancelledDialogUploadsNothingNotEvenTheFileAcceptedBefore) {
    ChooseConverterInUpdateMode({});
    UpdateFromFile(FirmwareFile(kTwoFramesText));
    ASSERT_EQ(boxes.Texts(), QStringList{kUpdated});
    boxes.Clear();
    UpdateFromFile(QString()); // the dialog cancelled
    EXPECT_TRUE(boxes.Texts().isEmpty());
    EXPECT_EQ(AcceptedFrames().size(), 2u);
}

TEST_F(FirmwareUpdateTest, WithoutAPortTheCombinedCommandStopsAtTheMessage) {
    const TableImage before = form->WorkingTable()->Model().image(TableSet::First);
    answers = {FirmwareFile(kTwoFramesText)};
    Find<QAction>(form.get(), "ActionUpgradeFirmwareOneToOne")->trigger();
    EXPECT_EQ(boxes.Texts(), QStringList{"COM port!!!"});
    EXPECT_EQ(form->WorkingTable()->Model().image(TableSet::First), before);
    EXPECT_FALSE(form->LiveData()->Running);
}

TEST_F(FirmwareUpdateTest, AnUploadIsRefusedWhileALiveRunHoldsThePortAndTheRunGoesOn) {
    ChoosePort("Simulator");
    form->LiveRun()->ActionStartExecute();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->LiveData()->DataReceived(); }, 5000));
    boxes.Clear();
    UpdateFromFile(FirmwareFile(kTwoFramesText));
    EXPECT_EQ(
        boxes.Texts(),
        QStringList{"Stop the live run before updating the firmware: the upload needs the port to itself.\n\n"
                    "Остановите запись перед обновлением прошивки: загрузке нужен порт целиком."});
    EXPECT_TRUE(form->LiveData()->Running);
    const std::size_t samples = form->LiveData()->Store().Size();
    QTest::qWait(300);
    EXPECT_GT(form->LiveData()->Store().Size(), samples);
    form->LiveRun()->ActionStopExecute();
}

TEST_F(FirmwareUpdateTest, TheWindowDoesNotCloseWhileAnUploadRuns) {
    ChooseConverterInUpdateMode({});
    std::vector<bool> closedDuringUpload;
    QObject::connect(bar, &QProgressBar::valueChanged, [&] { closedDuringUpload.push_back(form->close()); });
    UpdateFromFile(FirmwareFile(kTwoFramesText));
    EXPECT_EQ(closedDuringUpload, (std::vector<bool>{false, false, false}));
    EXPECT_TRUE(form->close());
}

TEST_F(FirmwareUpdateTest, TheCombinedCommandLeavesTheOneToOneTableOnTheConverterAndARunStreaming) {
    ChooseConverterInUpdateMode({}, 2);
    ConverterModel::Image tuned = ConverterModel::DefaultImage();
    for (int maf = 0; maf < 256; ++maf)
        tuned[std::size_t(maf)] = static_cast<std::uint8_t>(255 - maf);
    converter->WithModel([&](ConverterModel& device) { device.LoadImage(tuned); });
    SetBoxText("MaskEditO2REF", "3.33");
    const QString reference = BoxText("MaskEditO2REF");

    answers = {FirmwareFile(kTwoFramesText)};
    Find<QAction>(form.get(), "ActionUpgradeFirmwareOneToOne")->trigger();

    EXPECT_EQ(boxes.Texts(), QStringList{kUpdated});
    const TableImage written = form->WorkingTable()->Model().image(TableSet::First);
    const ConverterModel::Image stored =
        converter->WithModel([](const ConverterModel& device) { return device.StoredImage(); });
    EXPECT_TRUE(std::equal(written.begin(), written.end(), stored.begin()));
    for (int maf = 0; maf < 256; ++maf)
        EXPECT_EQ(stored[std::size_t(maf)], maf) << maf;
    EXPECT_EQ(form->SetupPage()->SensorType(), 2);
    EXPECT_EQ(BoxText("MaskEditO2REF"), reference);
    EXPECT_TRUE(form->LiveData()->Running);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return converter->WithModel([](const ConverterModel& device) { return device.Streaming(); }); },
        3000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->LiveData()->Store().Size() > 10; }, 3000));
    form->LiveRun()->ActionStopExecute();
}
