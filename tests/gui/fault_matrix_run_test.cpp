// The fault matrix, the live run: a converter that does not stream, a stream that loses or gains
// bytes, noise on an idle line, and a line that hangs up mid-run.

#include "fault_matrix_fixture.h"

namespace {

struct RunFault {
    const char* name;
    FaultSwitches faults;
    bool endsByItself; // else the user stops it
    QStringList messages;
    bool shifted; // bytes lost or added: packets read from the fault on are shifted
};

void PrintTo(const RunFault& fault, std::ostream* out) {
    *out << fault.name;
}

class RunFaults : public FaultMatrixTest, public ::testing::WithParamInterface<RunFault> {};

TEST_P(RunFaults, TellTheUserLeaveTheWindowWorkingAndKeepTheRecording) {
    const RunFault& fault = GetParam();
    UseConverter(fault.faults);
    boxes.Clear();
    Device([](ConverterModel& device) { device.KeepSentPackets(true); });
    StartRun();
    if (fault.endsByItself)
        ASSERT_TRUE(QTest::qWaitFor([&] { return Enabled("ActionStart"); }, 5000));
    else
        StopRunAfter(40);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->LiveData()->ReaderRunning(); }, 3000));

    // (a) what the user is told.
    EXPECT_EQ(boxes.Texts(), fault.messages);
    // What the window stored is what the line carried, counted into packets; nothing detects a shift.
    const auto sent = Device([](const ConverterModel& device) { return device.SentPackets(); });
    ExpectTheStoreHoldsWhatTheLineCarried(form->LiveData()->Store(), sent);
    bool enrichmentMoved = false;
    {
        const LogStore::View view = form->LiveData()->Store().Lock();
        for (std::size_t i = 0; i < view.Size(); ++i)
            enrichmentMoved |= view[i][LogSeries::Enrichment] != 128;
    }
    EXPECT_EQ(enrichmentMoved, fault.shifted);
    // (b) nothing left running.
    ExpectIdle();
    // (c) the run is recorded whole, however it ended; a run that received nothing leaves no file.
    if (fault.faults.silent) {
        EXPECT_EQ(Samples(), 0u);
        EXPECT_TRUE(saved.NewFiles(Log::RecordingsFolder()).isEmpty());
    } else {
        EXPECT_GT(Samples(), 10u);
        ExpectTheRunRecorded();
    }
    ExpectUsersFilesIntact();
    ExpectTheNextConverterWorks();
}

INSTANTIATE_TEST_SUITE_P(
    FaultMatrix, RunFaults,
    ::testing::Values(
        RunFault{"Row1Silent", {.silent = true}, true, {}, false},
        RunFault{"Row4DroppedStreamByte", {.dropStreamByte = true}, false, {}, true},
        RunFault{"Row5GarbageInTheStream", {.garbageStream = true}, false, {}, true},
        RunFault{"Row6HangUpMidRun", {.hangUp = true}, true, {"ReadFile function failed (Error: 5)"}, false}),
    [](const ::testing::TestParamInfo<RunFault>& info) { return std::string(info.param.name); });

// Noise arriving while nothing is asked of the converter is never taken for a reply or a packet:
// every exchange clears what waits before it asks.
TEST_F(FaultMatrixTest, Row5GarbageOnAnIdleLineIsNeverTakenForAReply) {
    UseConverter({.garbageIdle = true});
    ASSERT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join(" | ").toStdString();
    Device([](ConverterModel& device) { device.KeepSentPackets(true); });
    const ConverterModel::Image image = ConverterModel::DefaultImage();

    ASSERT_TRUE(WaitForNoise(1));
    Trigger("ActionReadCoverter");
    EXPECT_TRUE(std::equal(Working().begin(), Working().end(), image.begin()));

    ASSERT_TRUE(WaitForNoise(2));
    StartRun();
    StopRunAfter(20);
    ExpectTheStoreHoldsWhatTheLineCarried(
        form->LiveData()->Store(), Device([](const ConverterModel& device) { return device.SentPackets(); }));

    ASSERT_TRUE(WaitForNoise(3));
    form->WorkingTable()->SetPoint(120, 7);
    Trigger("ActionWriteConverter");
    EXPECT_EQ(Device([](const ConverterModel& device) { return device.StoredImage()[120]; }), 7);

    // (a) nothing to tell; (b) nothing left running; (c) the run recorded, the user's files as they were.
    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join(" | ").toStdString();
    ExpectIdle();
    ExpectTheRunRecorded();
    ExpectUsersFilesIntact();
}

// The line failed mid-run and the stop command could not reach it: the run is over all the same, so
// a log can be loaded and the firmware updated on the next converter, without a Stop the user could
// not press.
TEST_F(FaultMatrixTest, AfterTheLineFailedMidRunNothingWaitsForAStop) {
    UseConverter({.hangUp = true});
    StartRun();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Enabled("ActionStart"); }, 5000));
    EXPECT_FALSE(Enabled("ActionStop"));
    EXPECT_FALSE(form->LiveData()->Running);
    boxes.Clear();
    form->LiveData()->LoadLog(Log::RecordingsFolder() + "/earlier-run.log");
    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join(" | ").toStdString();
    EXPECT_EQ(Samples(), 3u);

    UseConverterInUpdateMode({});
    RunFileAction("FileOpenFirmware", firmwareFile);
    EXPECT_EQ(boxes.Texts(), QStringList{kFirmwareUpdated});
}

} // namespace
