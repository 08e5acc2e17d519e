// A live run against the simulated converter, driven as a user drives it: Start, Stop, the keys, the
// correction group and the messages the live data object sends.

#include "autocorrection.h"
#include "bar_gauge.h"
#include "dashboard_page.h"
#include "link_window_fixture.h"
#include "live_packet.h"
#include "live_run.h"
#include "log.h"
#include "main_page.h"
#include "o2_target_grid.h"
#include "pseudo_terminal.h"
#include "sound_player.h"
#include "up_down.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <QToolButton>
#include <algorithm>
#include <chrono>
#include <qcustomplot.h>
#include <thread>

#include <unistd.h>

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
    // Once a language is chosen, sounds are looked up in Sound/ under the working directory, so the
    // tests run in a folder with the cues.
    LiveRunTest() : previousFolder(QDir::currentPath()) {
        form->LiveRun()->SetSoundPlayer(std::make_unique<TSoundPlayer>(std::make_unique<HeardOutput>(heard)));
        QDir(folder.path()).mkdir("Sound");
        for (const char* name : {"corr.wav", "19.wav", "20.wav"}) {
            QFile cue(folder.filePath(QString("Sound/") + name));
            cue.open(QIODevice::WriteOnly);
        }
        QDir::setCurrent(folder.path());
        form->MainPage()->ComboBoxLanguageChange();
    }
    ~LiveRunTest() override { QDir::setCurrent(previousFolder); }

    std::size_t Samples() { return form->LiveData()->Store().Size(); }

    bool Running() const {
        return Find<QAction>(form.get(), "ActionStop")->isEnabled() &&
               !Find<QAction>(form.get(), "ActionStart")->isEnabled();
    }

    void StartOnTheSimulator() {
        ChoosePort("Simulator");
        ASSERT_TRUE(form->Link()->Connected());
        Find<QAction>(form.get(), "ActionStart")->trigger();
        ASSERT_TRUE(Running());
        ASSERT_TRUE(QTest::qWaitFor([&] { return Samples() >= 5; }, 3000));
    }

    Heard heard;
    QTemporaryDir folder;
    QString previousFolder;
};

TEST(LiveRunCues, BeforeALanguageIsChosenCuesComeFromTheProgramsOwnSoundFolder) {
    TForm1 form;
    ASSERT_TRUE(form.LiveRun()->SoundDir().isEmpty());
    Heard heard;
    form.LiveRun()->SetSoundPlayer(std::make_unique<TSoundPlayer>(std::make_unique<HeardOutput>(heard)));
    TMsgAutocorrStep step;
    step.StateColour = 0x008000;
    form.Broadcaster()->Broadcast(step);
    const QString beside = QCoreApplication::applicationDirPath() + "/Sound/corr.wav";
    EXPECT_EQ(heard.files, QStringList({beside})) << "played, not the beep of a missing file";
    EXPECT_TRUE(QFileInfo::exists(beside));
}

TEST_F(LiveRunTest, ACueMissingFromTheWorkingFoldersSoundFolderComesFromTheProgramsOwn) {
    TMsgAutocorrStep step;
    step.StateColour = 0x008000;
    form->Broadcaster()->Broadcast(step);
    step.StateColour = 0x808080;
    form->Broadcaster()->Broadcast(step);
    EXPECT_EQ(heard.files, QStringList({QString("Sound/corr.wav"),
                                        QCoreApplication::applicationDirPath() + "/Sound/ready.wav"}));
}

TEST_F(LiveRunTest, StartAndStopWithoutAPortSayWhyAndChangeNothing) {
    Find<QAction>(form.get(), "ActionStart")->trigger();
    QTest::mouseClick(Find<QPushButton>(form.get(), "Button6"), Qt::LeftButton);
    EXPECT_EQ(boxes.Texts(),
              QStringList(2, "Please choose right COM port\n\n Пожалуйста выберите правильный COM порт"));
    EXPECT_TRUE(Find<QAction>(form.get(), "ActionStart")->isEnabled());
    EXPECT_FALSE(Find<QAction>(form.get(), "ActionStop")->isEnabled());
    EXPECT_FALSE(Find<QAction>(form.get(), "ActionReadCoverter")->isEnabled());
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
    EXPECT_FALSE(Find<QComboBox>(form.get(), "ComboBoxO2")->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return Find<QLineEdit>(form.get(), "MaskEditTpsDash")->text().contains('N'); }, 2000))
        << "the tick shows the newest sample";
    EXPECT_NE(Find<QLineEdit>(form.get(), "MaskEditRpmDash")->text(), "3500RPM");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Samples() >= 80; }, 3000));

    QTest::mouseClick(Find<QPushButton>(form.get(), "Button6"), Qt::LeftButton);
    EXPECT_FALSE(Running());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return !form->Link()->Simulator()->WithModel(
                [](const ConverterModel& device) { return device.Streaming(); });
        },
        2000))
        << "Stop sends \"s\"";
    EXPECT_TRUE(Find<QAction>(form.get(), "ActionStart")->isEnabled());
    EXPECT_TRUE(Find<QComboBox>(form.get(), "ComboBoxO2")->isEnabled());
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
    EXPECT_EQ(Find<TGauge>(form.get(), "GaugeConv")->Progress(), 64);
    EXPECT_EQ(Find<TGauge>(form.get(), "GaugeMaf_1")->Progress(), 100);
    EXPECT_EQ(Find<TGauge>(form.get(), "GaugeTps_1")->Progress(), 50);
    EXPECT_EQ(Find<QLineEdit>(form.get(), "MaskEditTpsDash")->text(), "50N0.98V");
    EXPECT_EQ(Find<QLineEdit>(form.get(), "MaskEditRpmDash")->text(), "3000RPM");
    EXPECT_EQ(Find<TGauge>(form.get(), "GaugeRpm")->Progress(), 3000);
    EXPECT_EQ(Find<QLineEdit>(form.get(), "MaskEditO2")->text(), "127N 2.48V");
    EXPECT_EQ(Find<TGauge>(form.get(), "GaugeO2")->Progress(), 255);
    EXPECT_EQ(Find<TGauge>(form.get(), "GaugeO2")->ForeColor(), QColor(Qt::red));
    EXPECT_EQ(Find<TGauge>(form.get(), "GaugeO2_1")->ForeColor(), QColor(Qt::red));
    // Without a calibration the first conversion only resets it to 0..255; from then on 50 is 20 %.
    log->Tick();
    EXPECT_EQ(Find<TGauge>(form.get(), "GaugeTps")->Progress(), 20);
    EXPECT_EQ(Find<TGauge>(form.get(), "GaugeMarker")->Progress(), 0);
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
    ASSERT_TRUE(form->Link()->Connected());
    Find<QAction>(form.get(), "ActionStart")->trigger();
    ASSERT_TRUE(Running());
    EXPECT_TRUE(QTest::qWaitFor([&] { return Find<QAction>(form.get(), "ActionStart")->isEnabled(); }, 5000));
    // The read failure alone: that the stop command cannot reach the line either is no news.
    EXPECT_EQ(boxes.Texts(), QStringList{"ReadFile function failed (Error: 5)"});
    EXPECT_GT(Samples(), 0u) << "what arrived before stays";
    EXPECT_FALSE(form->LiveData()->LiveRunGoing()) << "the run is over though its stop could not be sent";
}

TEST_F(LiveRunTest, NoTickActsOnADeadStreamWhileItsFailureIsShown) {
    FaultSwitches faults;
    faults.hangUp = true;
    ChooseOwnConverter(faults);
    Find<QCheckBox>(form.get(), "CheckBoxAutocorr")->click();
    // The correction window where the autocorrection will put it, so no step needs to move it.
    Find<QSlider>(form.get(), "TrackBarMafKon")->setValue(100);
    Find<QSlider>(form.get(), "TrackBarMafNach")->setValue(100);
    struct Seen {
        int correction;
        TableImage table;
    };
    std::vector<Seen> seen;
    const auto look = [&] {
        seen.push_back(
            {form->LiveData()->CurrentCorrection(), form->WorkingTable()->Model().image(TableSet::First)});
    };
    boxes.HoldOpen(std::chrono::milliseconds(1200));
    boxes.OnOpen = [&](const QString& text) {
        if (!text.startsWith("ReadFile"))
            return;
        // The newest samples of the dead stream are ones the autocorrection would act on: part load,
        // 3000 rpm, one MAF, O2 far from the target.
        for (int k = 0; k < 150; ++k) {
            LogSample sample;
            sample[LogSeries::TPS] = 128;
            sample[LogSeries::RPM] = 500;
            sample[LogSeries::MAF] = 100;
            sample[LogSeries::O2] = 200;
            form->LiveData()->Store().Append(sample);
        }
        look();
    };
    boxes.OnAnswer = [&](const QString& text) {
        if (text.startsWith("ReadFile"))
            look();
    };
    Find<QAction>(form.get(), "ActionStart")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen.size() == 2; }, 8000));
    EXPECT_EQ(seen[1].correction, seen[0].correction) << "the pending correction did not move";
    EXPECT_EQ(seen[1].table, seen[0].table);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Find<QAction>(form.get(), "ActionStart")->isEnabled(); }, 3000))
        << "the stop follows";
    EXPECT_EQ(boxes.Texts(), QStringList{"ReadFile function failed (Error: 5)"});
}

TEST_F(LiveRunTest, ChoosingAPortMidRunStopsTheRunBeforeTheTablesAreRead) {
    const auto streaming = [](SimulatorServer& device) {
        return device.WithModel([](const ConverterModel& model) { return model.Streaming(); });
    };
    // The same converter again: it must have stopped streaming before "sr", or stream bytes would load
    // as its tables.
    StartOnTheSimulator();
    ChoosePort("Simulator");
    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join(" | ").toStdString();
    EXPECT_FALSE(Running());
    EXPECT_FALSE(form->LiveData()->ReaderRunning());
    SimulatorServer& simulator = *form->Link()->Simulator();
    EXPECT_FALSE(streaming(simulator));
    const auto image = simulator.WithModel([](const ConverterModel& model) { return model.WorkingImage(); });
    const TableImage& read = form->WorkingTable()->Model().image(TableSet::First);
    for (int i = 0; i < TableImageSize; ++i)
        ASSERT_EQ(read[i], image[i]) << "entry " << i;

    // Another converter: the first one is told to stop before its port closes.
    StartOnTheSimulator();
    ChooseOwnConverter({});
    EXPECT_TRUE(form->Link()->Connected());
    EXPECT_FALSE(streaming(simulator));
    EXPECT_FALSE(Running());
    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join(" | ").toStdString();
}

TEST_F(LiveRunTest, ANewRunStartedRightAfterAStopHoldsNothingOfTheOldOne) {
    // A converter played by hand, to hold the old reader inside its last read: a wireless link
    // stalls with half a packet delivered, and the rest arrives only after the new run has started.
    PseudoTerminal line;
    const auto send = [&line](int bytes) {
        const std::vector<std::uint8_t> packet(std::size_t(bytes), 0x40);
        return ::write(line.MasterFd(), packet.data(), packet.size()) == bytes;
    };
    TMsgSetComPort port(line.SlavePath());
    form->Broadcaster()->Broadcast(port);
    TMsgLogStart start(0);
    TMsgLogStop stop;
    form->Broadcaster()->Broadcast(start);
    ASSERT_TRUE(send(8 + 3 * 8)); // the sign of life and three packets
    ASSERT_TRUE(QTest::qWaitFor([&] { return Samples() == 3; }, 2000));
    ASSERT_TRUE(send(4));
    QTest::qWait(20); // taken into the reader's read

    bool stalledSent = false;
    std::thread stall([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        stalledSent = send(4);
    });
    form->Broadcaster()->Broadcast(stop);
    form->Broadcaster()->Broadcast(start);
    EXPECT_EQ(Samples(), 0u);
    EXPECT_FALSE(form->LiveData()->DataReceived());
    stall.join();
    ASSERT_TRUE(stalledSent);
    ASSERT_TRUE(send(8));
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->LiveData()->DataReceived(); }, 2000))
        << "the new run's own first packet";
    form->Broadcaster()->Broadcast(stop);
}

TEST_F(LiveRunTest, AFieldThatIsNotANumberStopsStartWithTheConversionError) {
    ChoosePort("Simulator");
    SetBoxText("MaskEditFast", "2x");
    Find<QAction>(form.get(), "ActionStart")->trigger();
    EXPECT_EQ(boxes.Texts(), QStringList({"'2x' is not a valid integer value"}));
    EXPECT_TRUE(Find<QAction>(form.get(), "ActionStart")->isEnabled());
    EXPECT_FALSE(form->LiveData()->ReaderRunning());
}

TEST_F(LiveRunTest, TheWindowHoldsTheLiveTickTimerRunningOnlyDuringARun) {
    // Found among the window's own objects, as every timer it holds must be.
    auto* tick = Find<QTimer>(form.get(), "LiveTickTimer");
    ASSERT_NE(tick, nullptr);
    EXPECT_FALSE(tick->isActive());
    const auto running = [&] {
        const QList<QTimer*> timers = form->findChildren<QTimer*>();
        return std::count_if(timers.begin(), timers.end(), [](const QTimer* t) { return t->isActive(); });
    };
    const auto idle = running();
    for (int run = 0; run < 2; ++run) {
        StartOnTheSimulator();
        EXPECT_TRUE(tick->isActive());
        EXPECT_EQ(tick->interval(), 100);
        EXPECT_EQ(running(), idle + 1) << "run " << run;
        Find<QAction>(form.get(), "ActionStop")->trigger();
        EXPECT_FALSE(tick->isActive());
        EXPECT_EQ(running(), idle) << "run " << run;
        ASSERT_TRUE(QTest::qWaitFor([&] { return !form->LiveData()->ReaderRunning(); }, 3000));
    }
    EXPECT_TRUE(boxes.Texts().isEmpty());
}

TEST_F(LiveRunTest, ATickDrawsTheDashboardChartOnceWhenItIsOverWithAllItChanged) {
    auto* chart = Find<QCustomPlot>(form.get(), "ChartDashboard");
    QCoreApplication::processEvents();
    int draws = 0;
    QObject::connect(chart, &QCustomPlot::afterReplot, [&] { ++draws; });
    // The tick's own work: the live point, then an autocorrection step that moves both edges of the
    // window, changes the correction and the state colour.
    const LivePacket packet{{0x40, 0x00, 0x90, 0x64, 0x32, 0x01, 0xF4, 0x7F}};
    form->LiveData()->Store().Append(packet.ToSample(false, 0));
    form->LiveData()->Tick();
    TMsgAutocorrStep step;
    step.WindowStart = 90;
    step.WindowEnd = 98;
    step.CorrectionStep = 1;
    step.StateColour = 0x008000;
    form->Broadcaster()->Broadcast(step);
    EXPECT_EQ(draws, 0) << "no drawing inside the tick";
    QCoreApplication::processEvents();
    EXPECT_EQ(draws, 1);
    const auto edge = [&](int graph) { return chart->graph(graph)->data()->begin()->key; };
    EXPECT_EQ(edge(3), 90) << "MafBeg";
    EXPECT_EQ(edge(4), 98) << "MafEnd";
    EXPECT_EQ(chart->graph(5)->data()->begin()->key, 100) << "the live point";
}

TEST_F(LiveRunTest, SecondStartFromTheFactoryTestButtonIsRefusedWhileReading) {
    StartOnTheSimulator();
    const std::size_t before = Samples();
    QTest::mouseClick(Find<QPushButton>(form.get(), "Button2"), Qt::LeftButton);
    EXPECT_GE(Samples(), before) << "the store was not cleared by a second start";
    Find<QAction>(form.get(), "ActionStop")->trigger();
}

TEST_F(LiveRunTest, SilentConverterEndsTheRunByItself) {
    ChoosePort("Simulator");
    form->Link()->Simulator()->WithModel(
        [](ConverterModel& device) { device.SetFaults(FaultSwitches{true}); });
    Find<QAction>(form.get(), "ActionStart")->trigger();
    ASSERT_TRUE(Running());
    EXPECT_TRUE(QTest::qWaitFor([&] { return Find<QAction>(form.get(), "ActionStart")->isEnabled(); }, 3000));
    EXPECT_EQ(Samples(), 0u);
    EXPECT_TRUE(boxes.Texts().isEmpty());
}

TEST_F(LiveRunTest, AHeldKeyActsOnceThroughItsAutoRepeats) {
    QLineEdit* edit = Find<QLineEdit>(form.get(), "MaskEditO2REF");
    const auto send = [&](QEvent::Type type, int key, bool autoRepeat) {
        QKeyEvent event(type, key, Qt::NoModifier, key == Qt::Key_Space ? " " : "\r", autoRepeat);
        QApplication::sendEvent(edit, &event);
    };
    // X11 repeats a held key as release and press pairs.
    send(QEvent::KeyPress, Qt::Key_Space, false);
    for (int repeat = 0; repeat < 3; ++repeat) {
        send(QEvent::KeyRelease, Qt::Key_Space, true);
        EXPECT_TRUE(form->LiveData()->MarkerHeld()) << repeat;
        send(QEvent::KeyPress, Qt::Key_Space, true);
        EXPECT_TRUE(form->LiveData()->MarkerHeld()) << repeat;
    }
    send(QEvent::KeyRelease, Qt::Key_Space, false);
    EXPECT_FALSE(form->LiveData()->MarkerHeld());

    StartOnTheSimulator();
    Find<QSlider>(form.get(), "TrackBarMafKon")->setValue(104);
    Find<QSlider>(form.get(), "TrackBarMafNach")->setValue(100);
    form->DashboardPage()->SetCorrection(5);
    send(QEvent::KeyPress, Qt::Key_Return, false);
    EXPECT_EQ(form->LiveData()->CurrentCorrection(), 0) << "applied";
    form->DashboardPage()->SetCorrection(5);
    const TableImage before = form->WorkingTable()->Model().image(TableSet::First);
    for (int repeat = 0; repeat < 3; ++repeat) {
        send(QEvent::KeyRelease, Qt::Key_Return, true);
        send(QEvent::KeyPress, Qt::Key_Return, true);
    }
    EXPECT_EQ(form->LiveData()->CurrentCorrection(), 5) << "the repeats of a held Enter apply nothing";
    EXPECT_EQ(form->WorkingTable()->Model().image(TableSet::First), before);
    Find<QAction>(form.get(), "ActionStop")->trigger();
}

TEST_F(LiveRunTest, SpaceMarksTheSamplesWhileHeldAndEnterAppliesTheCorrectionOnlyDuringARun) {
    // No run: Enter does nothing to the table.
    form->DashboardPage()->SetCorrection(5);
    const TableImage before = form->WorkingTable()->Model().image(TableSet::First);
    QTest::keyClick(Find<QLineEdit>(form.get(), "MaskEditO2REF"), Qt::Key_Return);
    EXPECT_EQ(form->WorkingTable()->Model().image(TableSet::First), before);

    StartOnTheSimulator();
    QTest::keyPress(Find<QLineEdit>(form.get(), "MaskEditO2REF"), Qt::Key_Space);
    const std::size_t pressedAt = Samples();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Samples() >= pressedAt + 10; }, 2000));
    QTest::keyRelease(Find<QLineEdit>(form.get(), "MaskEditO2REF"), Qt::Key_Space);
    EXPECT_EQ(Find<QLineEdit>(form.get(), "MaskEditO2REF")->text(), "30")
        << "the space never reached the edit";
    {
        LogStore::View view = form->LiveData()->Store().Lock();
        EXPECT_EQ(view[pressedAt + 5][LogSeries::Marker], 128);
    }

    // During a run only the window's centre is corrected: 100..103 and 100..105 both correct 102.
    for (int end : {103, 105}) {
        form->DashboardPage()->SetCorrection(5);
        Find<QSlider>(form.get(), "TrackBarMafKon")->setValue(end);
        Find<QSlider>(form.get(), "TrackBarMafNach")->setValue(100);
        const TableImage before = form->WorkingTable()->Model().image(TableSet::First);
        QTest::keyClick(Find<QLineEdit>(form.get(), "MaskEditO2REF"), Qt::Key_Return);
        const TableContent& after = form->WorkingTable()->Model().content();
        EXPECT_EQ(after.LearnedValues[102], std::min(before[102] + 5, 255)) << end;
        EXPECT_EQ(after.LearnedValues[101], 0) << end;
        EXPECT_EQ(after.LearnedValues[end], 0) << end;
        EXPECT_EQ(Find<TUpDown>(form.get(), "UpDownCorrection")->Position(), 0);
        QTest::mouseClick(Find<QPushButton>(form.get(), "ButtonClrAllLearned"), Qt::LeftButton);
    }
    Find<QAction>(form.get(), "ActionStop")->trigger();
}

TEST_F(LiveRunTest, SmoothingStepSetsTheBoxSendsTheTableAndSaysTheNumber) {
    ChoosePort("Simulator");
    form->DashboardPage()->SetCorrection(7);
    TMsgSmoothingStep ignored(255);
    form->Broadcaster()->Broadcast(ignored);
    EXPECT_EQ(Find<QLineEdit>(form.get(), "MaskEditSmoothMaf")->text(), "100");
    EXPECT_EQ(Find<TUpDown>(form.get(), "UpDownCorrection")->Position(), 7);

    TMsgSmoothingStep step(20);
    form->Broadcaster()->Broadcast(step);
    EXPECT_EQ(Find<QLineEdit>(form.get(), "MaskEditSmoothMaf")->text(), "20");
    EXPECT_EQ(Find<TUpDown>(form.get(), "UpDownCorrection")->Position(), 0);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return form->Link()->Simulator()->WithModel(
                [](const ConverterModel& device) { return device.WorkingImage()[260] == 26; });
        },
        2000));
    heard.playing = true; // a number interrupts what plays
    TMsgSmoothingStep again(19);
    form->Broadcaster()->Broadcast(again);
    EXPECT_EQ(heard.files, QStringList({QString("Sound/20.wav"), QString("Sound/19.wav")}));
}

TEST_F(LiveRunTest, AutocorrectionStepMovesTheWindowChangesAndAppliesTheCorrectionAndPlaysItsCue) {
    TMsgAutocorrStep step;
    step.WindowStart = 100;
    step.WindowEnd = 104;
    step.CorrectionStep = 1;
    step.StateColour = 0x008000;
    form->Broadcaster()->Broadcast(step);
    EXPECT_EQ(Find<QSlider>(form.get(), "TrackBarMafNach")->value(), 100);
    EXPECT_EQ(Find<QSlider>(form.get(), "TrackBarMafKon")->value(), 104);
    EXPECT_EQ(Find<QLabel>(form.get(), "Label9")->text(), "Pulsations=4");
    EXPECT_EQ(Find<TUpDown>(form.get(), "UpDownCorrection")->Position(), 1);
    EXPECT_EQ(form->LiveData()->CurrentCorrection(), 1);

    heard.playing = true; // the cue is still playing: the next one is dropped
    form->Broadcaster()->Broadcast(step);
    heard.playing = false;
    EXPECT_EQ(heard.files, QStringList({QString("Sound/corr.wav")}));

    step.ApplyNow = true;
    step.CorrectionStep = -1;
    const int before = form->WorkingTable()->Model().image(TableSet::First)[102];
    form->Broadcaster()->Broadcast(step);
    EXPECT_EQ(form->WorkingTable()->Model().image(TableSet::First)[102], std::clamp(before + 1, 0, 255))
        << "2 - 1 applied to the window while stopped";
    EXPECT_EQ(Find<TUpDown>(form.get(), "UpDownCorrection")->Position(), 0);

    step.ApplyNow = false;
    form->DashboardPage()->SetCorrection(9);
    step.ResetCorrection = true;
    form->Broadcaster()->Broadcast(step);
    EXPECT_EQ(Find<TUpDown>(form.get(), "UpDownCorrection")->Position(), 0);
    EXPECT_EQ(heard.files.count(QString("Sound/corr.wav")), 3);
}

TEST_F(LiveRunTest, TrackBarsDragEachOtherAndTheWindowGoesToTheConverter) {
    ChoosePort("Simulator");
    Find<QSlider>(form.get(), "TrackBarMafKon")->setValue(100);
    Find<QSlider>(form.get(), "TrackBarMafNach")->setValue(120);
    EXPECT_EQ(Find<QSlider>(form.get(), "TrackBarMafKon")->value(), 120);
    EXPECT_EQ(Find<QLineEdit>(form.get(), "MaskEditMafNach")->text(), "120");
    EXPECT_EQ(Find<QLineEdit>(form.get(), "MaskEditMafKon")->text(), "120");
    EXPECT_EQ(Find<QLabel>(form.get(), "Label9")->text(), "Pulsations=0");
    Find<QSlider>(form.get(), "TrackBarMafKon")->setValue(10);
    EXPECT_EQ(Find<QSlider>(form.get(), "TrackBarMafNach")->value(), 10);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return form->Link()->Simulator()->WithModel([](const ConverterModel& device) {
                return device.WindowLow() == 0 && device.WindowHigh() == 255;
            });
        },
        2000));
}

TEST_F(LiveRunTest, ApplyWithLiveDataStoppedCorrectsTheWholeWindowAndClearButtonsForgetIt) {
    Find<QSlider>(form.get(), "TrackBarMafKon")->setValue(104);
    Find<QSlider>(form.get(), "TrackBarMafNach")->setValue(100);
    QTest::mouseClick(Find<TUpDown>(form.get(), "UpDownCorrection")->UpButton(), Qt::LeftButton);
    QTest::mouseClick(Find<QPushButton>(form.get(), "ButtonAplToTable"), Qt::LeftButton);
    const TableContent& content = form->WorkingTable()->Model().content();
    for (int x = 100; x <= 104; ++x)
        EXPECT_EQ(content.LearnedValues[x], 1) << x;
    EXPECT_EQ(Find<QLineEdit>(form.get(), "MaskEditCorrection")->text(), "0");

    QTest::mouseClick(Find<QPushButton>(form.get(), "ButtonClrAllLearned"), Qt::LeftButton);
    EXPECT_EQ(content.LearnedValues[102], 0);
    QTest::keyClick(Find<QLineEdit>(form.get(), "MaskEditO2REF"), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form->WorkingTable()->Model().content().LearnedValues[102], 1) << "undo brings them back";
}

TEST_F(LiveRunTest, WindowSpanTakesTheValueFromBeforeTheClick) {
    QTest::mouseClick(Find<TUpDown>(form.get(), "UpDown1")->UpButton(), Qt::LeftButton);
    EXPECT_EQ(Find<QLineEdit>(form.get(), "MaskEditDelta")->text(), "11");
    EXPECT_EQ(form->LiveData()->Options.MaxWindowSpan, 10);
    QTest::mouseClick(Find<TUpDown>(form.get(), "UpDown1")->UpButton(), Qt::LeftButton);
    EXPECT_EQ(form->LiveData()->Options.MaxWindowSpan, 11);
}

TEST_F(LiveRunTest, OptionControlsReachTheLiveData) {
    form->show();
    Find<QTabWidget>(form.get(), "MainPageControl")
        ->setCurrentWidget(Find<QWidget>(form.get(), "SetupTabSheet"));
    QTest::mouseClick(Find<QRadioButton>(form.get(), "RadioButtonVFall"), Qt::LeftButton);
    EXPECT_TRUE(form->LiveData()->Options.OutputInverted);
    Find<QTabWidget>(form.get(), "MainPageControl")
        ->setCurrentWidget(Find<QWidget>(form.get(), "DashboardTabSheet"));
    QTest::mouseClick(Find<QCheckBox>(form.get(), "CheckBoxWotCorr"), Qt::LeftButton, {},
                      QPoint(6, Find<QCheckBox>(form.get(), "CheckBoxWotCorr")->height() / 2));
    EXPECT_TRUE(Find<QCheckBox>(form.get(), "CheckBoxWotCorr")->isChecked());
    EXPECT_TRUE(form->LiveData()->Options.SmoothingEnabled);
    EXPECT_FALSE(form->LiveData()->Options.AutocorrEnabled);
}

TEST_F(LiveRunTest, CalibrationWithThePedalUntouchedResetsToTheFullRange) {
    ChoosePort("Simulator");
    Find<QPushButton>(form.get(), "ButtonCalibrate")->click();
    EXPECT_EQ(boxes.Texts().size(), 2);
    EXPECT_EQ(Find<QLabel>(form.get(), "LabelTpsMin")->text(), "Min=0");
    EXPECT_EQ(Find<QLabel>(form.get(), "LabelTpsMax")->text(), "Max=255");
    EXPECT_FALSE(Running());
}

TEST_F(LiveRunTest, CalibrationWhoseRunDidNotStartStopsThereAndKeepsTheCalibration) {
    ChoosePort("Simulator");
    // An earlier run left samples with the pedal moved.
    StartOnTheSimulator();
    Find<QAction>(form.get(), "ActionStop")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->LiveData()->ReaderRunning(); }, 2000));
    form->LiveData()->Store().Append(LogSample{});
    LogSample floor;
    floor[LogSeries::TPS] = 200;
    form->LiveData()->Store().Append(floor);
    form->O2Grid()->SetCalibration(30, 220);
    boxes.Clear();

    // Entering the box empties it, and an empty field stops the start.
    SetBoxText("MaskEditFast", "");
    Find<QPushButton>(form.get(), "ButtonCalibrate")->click();
    EXPECT_EQ(boxes.Texts(), QStringList({"'' is not a valid integer value"})) << "no pedal prompt";
    EXPECT_EQ(Find<QLabel>(form.get(), "LabelTpsMin")->text(), "Min=");
    EXPECT_EQ(Find<QLabel>(form.get(), "LabelTpsMax")->text(), "Max=");
    EXPECT_EQ(form->O2Grid()->TpsMin(), 30);
    EXPECT_EQ(form->O2Grid()->TpsMax(), 220);
}

// A full-throttle pull with MAF pulsations that the newest sample ends, and a correction step due on
// this tick: the tick carries a smoothing step and then a correction step.
void FillEndedPull(Log& log, O2TargetGrid& grid) {
    for (int k = 0; k < 250; ++k) {
        LogSample sample;
        sample[LogSeries::TPS] = k < 10 || k == 249 ? 50 : 100;
        sample[LogSeries::RPM] = 500; // 3000 rpm
        sample[LogSeries::O2] = 20;   // leaner than the targets of 30
        sample[LogSeries::MAF] = sample[LogSeries::Converter] = 150 + (k % 20 < 5 ? 9 : -3);
        log.Store().Append(sample);
    }
    grid.SetCalibration(0, 100);
    grid.FillTargets(30);
    log.Options.AutocorrEnabled = log.Options.SmoothingEnabled = true;
    log.Options.MaxWindowSpan = 255;
    log.Counters.PreviousTpsPercent = 100;
    log.Autocorr = {.StepTicks = 1, .StepInterval = 2, .CrossingCount = 0, .PreviousO2 = 20};
}

TEST_F(LiveRunTest, AStopThatArrivesInsideTheTickEndsTheTick) {
    ChooseOwnConverter({});
    FillEndedPull(*form->LiveData(), *form->O2Grid());
    {
        // The same tick with nothing in the way: a smoothing step, then a correction step.
        form->LiveData()->Tick();
        EXPECT_EQ(Find<QLineEdit>(form.get(), "MaskEditSmoothMaf")->text(), "20");
        EXPECT_EQ(form->LiveData()->CurrentCorrection(), 1);
        EXPECT_EQ(heard.files.count(QString("Sound/corr.wav")), 1);
    }
    form->DashboardPage()->SetCorrection(0);
    form->LiveData()->Store().Clear();
    FillEndedPull(*form->LiveData(), *form->O2Grid());
    form->LiveData()->Counters.SmoothingCountdown = kSmoothingCountdownStart;
    heard.files.clear();

    // The line is gone: the smoothing step's live send fails, and while its box is open the stop the
    // reader queued runs.
    converter.reset();
    boxes.OnOpen = [this](const QString&) {
        QMetaObject::invokeMethod(
            form.get(), [this] { form->LiveData()->StopLiveRun(); }, Qt::QueuedConnection);
        boxes.OnOpen = nullptr;
    };
    form->LiveData()->Tick();
    EXPECT_EQ(Find<QLineEdit>(form.get(), "MaskEditSmoothMaf")->text(), "20") << "the smoothing step ran";
    EXPECT_EQ(form->LiveData()->CurrentCorrection(), 0) << "no correction after the stop";
    EXPECT_TRUE(heard.files.isEmpty()) << "no cue after the stop";
    EXPECT_FALSE(form->LiveData()->Running);
    // The live send's failure and the stop's own; no command went out after the stop.
    ASSERT_EQ(boxes.Texts().size(), 2) << boxes.Texts().join(" | ").toStdString();
    EXPECT_TRUE(boxes.Texts()[1].startsWith("WriteFile function failed"));
}

TEST_F(LiveRunTest, LoadingALogDuringARunIsRefusedAndTheRunGoesOn) {
    StartOnTheSimulator();
    form->LiveData()->LoadLog(folder.filePath("any.log"));
    ASSERT_EQ(boxes.Texts().size(), 1);
    EXPECT_TRUE(boxes.Texts()[0].startsWith("Stop the live run before loading a log"))
        << boxes.Texts()[0].toStdString();
    const std::size_t now = Samples();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Samples() > now + 5; }, 2000)) << "the run's data stays";
    Find<QAction>(form.get(), "ActionStop")->trigger();
}

TEST_F(LiveRunTest, EveryRunIsRecordedOnDiskAndItsFileEqualsTheSavedLogOnceItEnds) {
    const QDir logs(Log::RecordingsFolder());
    const QStringList before = logs.entryList(QDir::Files);
    StartOnTheSimulator();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Samples() >= 150; }, 4000));
    QStringList recorded = logs.entryList(QDir::Files);
    for (const QString& name : before)
        recorded.removeAll(name);
    ASSERT_EQ(recorded.size(), 1) << "one file for the run, written while it goes on";
    EXPECT_TRUE(recorded[0].startsWith("D") && recorded[0].endsWith(".log")) << recorded[0].toStdString();
    EXPECT_GT(QFileInfo(logs.filePath(recorded[0])).size(), 15);

    Find<QAction>(form.get(), "ActionStop")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->LiveData()->ReaderRunning(); }, 2000));
    form->LiveData()->SaveLog(folder.filePath("saved"));
    QFile recording(logs.filePath(recorded[0]));
    QFile saved(folder.filePath("saved.log"));
    ASSERT_TRUE(recording.open(QIODevice::ReadOnly));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(recording.readAll(), saved.readAll()) << "rewritten from the store after the run's analysis";
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
