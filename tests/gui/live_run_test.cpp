// A live run against the simulated converter, driven as a user drives it: Start, Stop, the keys, the
// correction group and the messages the live data object sends.

#include "bar_gauge.h"
#include "link_window_fixture.h"
#include "live_packet.h"
#include "log.h"
#include "o2_target_grid.h"
#include "sound_player.h"
#include "up_down.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

struct Heard {
    QStringList files;
    bool playing = false;
};

class HeardOutput : public TSoundOutput {
public:
    explicit HeardOutput(Heard& heard) : heard(heard) {}
    bool DeviceAvailable() const override { return true; }
    bool IsPlaying() const override { return heard.playing; }
    void PlayFile(const QString& path) override { heard.files << path; }
    void Beep() override { heard.files << "beep"; }

private:
    Heard& heard;
};

class LiveRunTest : public LinkWindowTest {
protected:
    // Sounds are looked up under the working directory, so the tests run in a folder with the cues.
    LiveRunTest() : previousFolder(QDir::currentPath()) {
        form->SetSoundPlayer(std::make_unique<TSoundPlayer>(std::make_unique<HeardOutput>(heard)));
        for (const char* name : {"corr.wav", "19.wav", "20.wav"}) {
            QFile cue(folder.filePath(name));
            cue.open(QIODevice::WriteOnly);
        }
        QDir::setCurrent(folder.path());
    }
    ~LiveRunTest() override { QDir::setCurrent(previousFolder); }

    std::size_t Samples() { return form->LiveData()->Store().Size(); }

    bool Running() const { return form->ActionStop->isEnabled() && !form->ActionStart->isEnabled(); }

    void StartOnTheSimulator() {
        ChoosePort("Simulator");
        ASSERT_TRUE(form->Link()->Connected);
        form->ActionStart->trigger();
        ASSERT_TRUE(Running());
        ASSERT_TRUE(QTest::qWaitFor([&] { return Samples() >= 5; }, 3000));
    }

    Heard heard;
    QTemporaryDir folder;
    QString previousFolder;
};

TEST_F(LiveRunTest, StartAndStopWithoutAPortSayWhyAndChangeNothing) {
    form->ActionStart->trigger();
    QTest::mouseClick(form->Button6, Qt::LeftButton);
    EXPECT_EQ(boxes.Texts(),
              QStringList(2, "Please choose right COM port\n\n Пожалуйста выберите правильный COM порт"));
    EXPECT_TRUE(form->ActionStart->isEnabled());
    EXPECT_FALSE(form->ActionStop->isEnabled());
    EXPECT_FALSE(form->ActionReadCoverter->isEnabled());
}

TEST_F(LiveRunTest, BusReachesWindowLinkAndLiveDataInThatOrder) {
    const auto& listeners = form->Broadcaster()->Listeners();
    ASSERT_EQ(listeners.size(), 3u);
    EXPECT_EQ(listeners[0], static_cast<TListener*>(form.get()));
    EXPECT_EQ(listeners[1], static_cast<TListener*>(form->Link()));
    EXPECT_EQ(listeners[2], static_cast<TListener*>(form->LiveData()));
}

TEST_F(LiveRunTest, RunFillsTheDashboardAndStopSmoothsTheO2Series) {
    StartOnTheSimulator();
    EXPECT_FALSE(form->ComboBoxO2->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->MaskEditTpsDash->text().contains('N'); }, 2000))
        << "the tick shows the newest sample";
    EXPECT_NE(form->MaskEditRpmDash->text(), "3500RPM");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Samples() >= 80; }, 3000));

    QTest::mouseClick(form->Button6, Qt::LeftButton);
    EXPECT_FALSE(Running());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return !form->Link()->Simulator()->WithModel(
                [](const ConverterModel& device) { return device.Streaming(); });
        },
        2000))
        << "Stop sends \"s\"";
    EXPECT_TRUE(form->ActionStart->isEnabled());
    EXPECT_TRUE(form->ComboBoxO2->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->LiveData()->ReaderRunning(); }, 2000));
    LogStore::View view = form->LiveData()->Store().Lock();
    ASSERT_GE(view.Size(), 80u);
    EXPECT_EQ(view[29][LogSeries::O2SM], 0);
    EXPECT_GT(view[40][LogSeries::O2SM], 0) << "smoothed after the run";
    EXPECT_EQ(view[view.Size() - 1][LogSeries::O2SM], 0);
    EXPECT_TRUE(boxes.Texts().isEmpty());
}

TEST_F(LiveRunTest, DashboardShowsTheNewestSampleOfThePacketItCameFrom) {
    Log* log = form->LiveData();
    log->Options.SensorType = 0;
    const LivePacket packet{{0x40, 0x00, 0x90, 0x64, 0x32, 0x01, 0xF4, 0x7F}};
    log->Store().Append(packet.ToSample(false, 0));
    log->Tick();
    EXPECT_EQ(form->GaugeConv->Progress(), 64);
    EXPECT_EQ(form->GaugeMaf_1->Progress(), 100);
    EXPECT_EQ(form->GaugeTps_1->Progress(), 50);
    EXPECT_EQ(form->MaskEditTpsDash->text(), "50N0.98V");
    EXPECT_EQ(form->MaskEditRpmDash->text(), "3000RPM");
    EXPECT_EQ(form->GaugeRpm->Progress(), 3000);
    EXPECT_EQ(form->MaskEditO2->text(), "127N 2.48V");
    EXPECT_EQ(form->GaugeO2->Progress(), 255);
    EXPECT_EQ(form->GaugeO2->ForeColor(), QColor(Qt::red));
    EXPECT_EQ(form->GaugeO2_1->ForeColor(), QColor(Qt::red));
    // Without a calibration the first conversion only resets it to 0..255; from then on 50 is 20 %.
    log->Tick();
    EXPECT_EQ(form->GaugeTps->Progress(), 20);
    EXPECT_EQ(form->GaugeMarker->Progress(), 0);
}

TEST_F(LiveRunTest, TickNeverRunsInsideItself) {
    // A handler that opens a message box runs a nested event loop, in which the timer fires again.
    struct ReenteringListener : TListener {
        Log* log = nullptr;
        int dashboards = 0;
        void Dispatch(TMessage& message) override {
            if (message.Msg == MSG_DASH_DATA && ++dashboards == 1)
                log->Tick();
        }
    } listener;
    listener.log = form->LiveData();
    form->Broadcaster()->AddListener(&listener);
    form->LiveData()->Store().Append(LogSample{});
    form->LiveData()->Tick();
    EXPECT_EQ(listener.dashboards, 1);
    form->LiveData()->Tick();
    EXPECT_EQ(listener.dashboards, 2) << "the guard is released after the tick";
}

TEST_F(LiveRunTest, HangUpMidRunEndsItWithThePortsMessage) {
    FaultSwitches faults;
    faults.hangUp = true;
    ChooseOwnConverter(faults);
    ASSERT_TRUE(form->Link()->Connected);
    form->ActionStart->trigger();
    ASSERT_TRUE(Running());
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->ActionStart->isEnabled(); }, 5000));
    // The read failure, then the stop command that cannot reach a line that is gone.
    ASSERT_EQ(boxes.Texts().size(), 2);
    EXPECT_TRUE(boxes.Texts()[0].startsWith("ReadFile function failed (Error: "))
        << boxes.Texts()[0].toStdString();
    EXPECT_TRUE(boxes.Texts()[1].startsWith("WriteFile function failed (Error: "))
        << boxes.Texts()[1].toStdString();
    EXPECT_GT(Samples(), 0u) << "what arrived before stays";
}

TEST_F(LiveRunTest, AFieldThatIsNotANumberStopsStartWithTheConversionError) {
    ChoosePort("Simulator");
    SetBoxText("MaskEditFast", "2x");
    form->ActionStart->trigger();
    EXPECT_EQ(boxes.Texts(), QStringList({"'2x' is not a valid integer value"}));
    EXPECT_TRUE(form->ActionStart->isEnabled());
    EXPECT_FALSE(form->LiveData()->ReaderRunning());
}

TEST_F(LiveRunTest, SecondStartFromTheFactoryTestButtonIsRefusedWhileReading) {
    StartOnTheSimulator();
    const std::size_t before = Samples();
    QTest::mouseClick(form->Button2, Qt::LeftButton);
    EXPECT_GE(Samples(), before) << "the store was not cleared by a second start";
    form->ActionStop->trigger();
}

TEST_F(LiveRunTest, SilentConverterEndsTheRunByItself) {
    ChoosePort("Simulator");
    form->Link()->Simulator()->WithModel(
        [](ConverterModel& device) { device.SetFaults(FaultSwitches{true}); });
    form->ActionStart->trigger();
    ASSERT_TRUE(Running());
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->ActionStart->isEnabled(); }, 3000));
    EXPECT_EQ(Samples(), 0u);
    EXPECT_TRUE(boxes.Texts().isEmpty());
}

TEST_F(LiveRunTest, SpaceMarksTheSamplesWhileHeldAndEnterAppliesTheCorrectionOnlyDuringARun) {
    // No run: Enter does nothing to the table.
    form->UpDownCorrection->SetPosition(5);
    const TableImage before = form->WorkingTable()->Model().image(TableSet::First);
    QTest::keyClick(form->MaskEditO2REF, Qt::Key_Return);
    EXPECT_EQ(form->WorkingTable()->Model().image(TableSet::First), before);

    StartOnTheSimulator();
    QTest::keyPress(form->MaskEditO2REF, Qt::Key_Space);
    const std::size_t pressedAt = Samples();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Samples() >= pressedAt + 10; }, 2000));
    QTest::keyRelease(form->MaskEditO2REF, Qt::Key_Space);
    EXPECT_EQ(form->MaskEditO2REF->text(), "30") << "the space never reached the edit";
    {
        LogStore::View view = form->LiveData()->Store().Lock();
        EXPECT_EQ(view[pressedAt + 5][LogSeries::Marker], 128);
    }

    // During a run only the window's centre is corrected: 100..103 and 100..105 both correct 102.
    for (int end : {103, 105}) {
        form->UpDownCorrection->SetPosition(5);
        form->TrackBarMafKon->setValue(end);
        form->TrackBarMafNach->setValue(100);
        const TableImage before = form->WorkingTable()->Model().image(TableSet::First);
        QTest::keyClick(form->MaskEditO2REF, Qt::Key_Return);
        const TableContent& after = form->WorkingTable()->Model().content();
        EXPECT_EQ(after.LearnedValues[102], std::min(before[102] + 5, 255)) << end;
        EXPECT_EQ(after.LearnedValues[101], 0) << end;
        EXPECT_EQ(after.LearnedValues[end], 0) << end;
        EXPECT_EQ(form->UpDownCorrection->Position(), 0);
        QTest::mouseClick(form->ButtonClrAllLearned, Qt::LeftButton);
    }
    form->ActionStop->trigger();
}

TEST_F(LiveRunTest, SmoothingStepSetsTheBoxSendsTheTableAndSaysTheNumber) {
    ChoosePort("Simulator");
    form->UpDownCorrection->SetPosition(7);
    TMsgSmoothingStep ignored(255);
    form->Broadcaster()->Broadcast(ignored);
    EXPECT_EQ(form->MaskEditSmoothMaf->text(), "100");
    EXPECT_EQ(form->UpDownCorrection->Position(), 7);

    TMsgSmoothingStep step(20);
    form->Broadcaster()->Broadcast(step);
    EXPECT_EQ(form->MaskEditSmoothMaf->text(), "20");
    EXPECT_EQ(form->UpDownCorrection->Position(), 0);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return form->Link()->Simulator()->WithModel(
                [](const ConverterModel& device) { return device.WorkingImage()[260] == 26; });
        },
        2000));
    heard.playing = true; // a number interrupts what plays
    TMsgSmoothingStep again(19);
    form->Broadcaster()->Broadcast(again);
    EXPECT_EQ(heard.files, QStringList({form->SoundDir() + "20.wav", form->SoundDir() + "19.wav"}));
}

TEST_F(LiveRunTest, AutocorrectionStepMovesTheWindowChangesAndAppliesTheCorrectionAndPlaysItsCue) {
    TMsgAutocorrStep step;
    step.WindowStart = 100;
    step.WindowEnd = 104;
    step.CorrectionStep = 1;
    step.StateColour = 0x008000;
    form->Broadcaster()->Broadcast(step);
    EXPECT_EQ(form->TrackBarMafNach->value(), 100);
    EXPECT_EQ(form->TrackBarMafKon->value(), 104);
    EXPECT_EQ(form->Label9->text(), "Pulsations=4");
    EXPECT_EQ(form->UpDownCorrection->Position(), 1);
    EXPECT_EQ(form->LiveData()->CurrentCorrection(), 1);

    heard.playing = true; // the cue is still playing: the next one is dropped
    form->Broadcaster()->Broadcast(step);
    heard.playing = false;
    EXPECT_EQ(heard.files, QStringList({form->SoundDir() + "corr.wav"}));

    step.ApplyNow = true;
    step.CorrectionStep = -1;
    const int before = form->WorkingTable()->Model().image(TableSet::First)[102];
    form->Broadcaster()->Broadcast(step);
    EXPECT_EQ(form->WorkingTable()->Model().image(TableSet::First)[102], std::clamp(before + 1, 0, 255))
        << "2 - 1 applied to the window while stopped";
    EXPECT_EQ(form->UpDownCorrection->Position(), 0);

    step.ApplyNow = false;
    form->UpDownCorrection->SetPosition(9);
    step.ResetCorrection = true;
    form->Broadcaster()->Broadcast(step);
    EXPECT_EQ(form->UpDownCorrection->Position(), 0);
    EXPECT_EQ(heard.files.count(form->SoundDir() + "corr.wav"), 3);
}

TEST_F(LiveRunTest, TrackBarsDragEachOtherAndTheWindowGoesToTheConverter) {
    ChoosePort("Simulator");
    form->TrackBarMafKon->setValue(100);
    form->TrackBarMafNach->setValue(120);
    EXPECT_EQ(form->TrackBarMafKon->value(), 120);
    EXPECT_EQ(form->MaskEditMafNach->text(), "120");
    EXPECT_EQ(form->MaskEditMafKon->text(), "120");
    EXPECT_EQ(form->Label9->text(), "Pulsations=0");
    form->TrackBarMafKon->setValue(10);
    EXPECT_EQ(form->TrackBarMafNach->value(), 10);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return form->Link()->Simulator()->WithModel([](const ConverterModel& device) {
                return device.WindowLow() == 0 && device.WindowHigh() == 255;
            });
        },
        2000));
}

TEST_F(LiveRunTest, ApplyWithLiveDataStoppedCorrectsTheWholeWindowAndClearButtonsForgetIt) {
    form->TrackBarMafKon->setValue(104);
    form->TrackBarMafNach->setValue(100);
    QTest::mouseClick(form->UpDownCorrection->UpButton(), Qt::LeftButton);
    QTest::mouseClick(form->ButtonAplToTable, Qt::LeftButton);
    const TableContent& content = form->WorkingTable()->Model().content();
    for (int x = 100; x <= 104; ++x)
        EXPECT_EQ(content.LearnedValues[x], 1) << x;
    EXPECT_EQ(form->MaskEditCorrection->text(), "0");

    QTest::mouseClick(form->ButtonClrAllLearned, Qt::LeftButton);
    EXPECT_EQ(content.LearnedValues[102], 0);
    QTest::keyClick(form->MaskEditO2REF, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form->WorkingTable()->Model().content().LearnedValues[102], 1) << "undo brings them back";
}

TEST_F(LiveRunTest, WindowSpanTakesTheValueFromBeforeTheClick) {
    QTest::mouseClick(form->UpDown1->UpButton(), Qt::LeftButton);
    EXPECT_EQ(form->MaskEditDelta->text(), "11");
    EXPECT_EQ(form->LiveData()->Options.MaxWindowSpan, 10);
    QTest::mouseClick(form->UpDown1->UpButton(), Qt::LeftButton);
    EXPECT_EQ(form->LiveData()->Options.MaxWindowSpan, 11);
}

TEST_F(LiveRunTest, OptionControlsReachTheLiveData) {
    form->show();
    form->MainPageControl->setCurrentWidget(form->SetupTabSheet);
    QTest::mouseClick(form->RadioButtonVFall, Qt::LeftButton);
    EXPECT_TRUE(form->LiveData()->Options.OutputInverted);
    form->MainPageControl->setCurrentWidget(form->DashboardTabSheet);
    QTest::mouseClick(form->CheckBoxWotCorr, Qt::LeftButton, {},
                      QPoint(6, form->CheckBoxWotCorr->height() / 2));
    EXPECT_TRUE(form->CheckBoxWotCorr->isChecked());
    EXPECT_TRUE(form->LiveData()->Options.SmoothingEnabled);
    EXPECT_FALSE(form->LiveData()->Options.AutocorrEnabled);
}

TEST_F(LiveRunTest, CalibrationWithThePedalUntouchedResetsToTheFullRange) {
    ChoosePort("Simulator");
    form->ButtonCalibrate->click();
    EXPECT_EQ(boxes.Texts().size(), 2);
    EXPECT_EQ(form->LabelTpsMin->text(), "Min=0");
    EXPECT_EQ(form->LabelTpsMax->text(), "Max=255");
    EXPECT_FALSE(Running());
}

TEST_F(LiveRunTest, ClosingWithAPortOpenStopsTheConverter) {
    StartOnTheSimulator();
    form->close();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return !form->Link()->Simulator()->WithModel(
                [](const ConverterModel& device) { return device.Streaming(); });
        },
        2000));
}

} // namespace
