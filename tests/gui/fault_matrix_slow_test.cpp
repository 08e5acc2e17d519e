// The fault matrix in one window at the converter's own pace (a write waits its full 12.8 s): the
// faults one after the other, each with a converter of its own, and the window never restarted.

#include "fault_matrix_fixture.h"

#include <functional>

namespace {

class FaultMatrixSlow : public FaultMatrixTest {
protected:
    FaultMatrixSlow() { form->WorkingTable()->SetWriteStepPause(WriteStepPause); }
};

TEST_F(FaultMatrixSlow, OneWindowLivesThroughEveryFaultInTurn) {
    const auto write = [this] {
        form->WorkingTable()->SetPoint(120, 7);
        Trigger("ActionWriteConverter");
    };
    const auto runUntilItEnds = [this] {
        StartRun();
        ASSERT_TRUE(QTest::qWaitFor([&] { return Enabled("ActionStart"); }, 5000));
    };
    const struct {
        const char* name;
        FaultSwitches faults;
        std::function<void()> act;
        QStringList messages;
    } steps[] = {
        {"a converter that stores one cell wrongly",
         {.wrongReadBack = true},
         write,
         {"VerificationError", kVerificationText}},
        {"a line that drops halfway through a write", {.hangUpMidWrite = true}, write, {kPortErrorText}},
        {"noise in the stream and on the idle line",
         {.garbageIdle = true, .garbageStream = true},
         [this] {
             StartRun();
             StopRunAfter(100);
             ASSERT_TRUE(WaitForNoise(1));
             Trigger("ActionReadCoverter");
         },
         {}},
        {"a line that hangs up mid-run",
         {.hangUp = true},
         runUntilItEnds,
         {"ReadFile function failed (Error: 5)"}},
        {"a converter that falls silent",
         {.silent = true},
         runUntilItEnds,
         {NoReplyText + "0 of/из 512 Recieved/Получено", NoReplyText + "0 of/из 1 Recieved/Получено"}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        UseConverter(step.faults);
        step.act();
        EXPECT_EQ(boxes.Texts(), step.messages);
        ExpectIdle();
        boxes.Clear();
    }
    UseConverterInUpdateMode({.rejectFrames = 4});
    RunFileAction("FileOpenFirmware", firmwareFile);
    EXPECT_EQ(boxes.Texts(), QStringList{"CRC error.  " + kCheckTheConverter});
    ExpectIdle();

    ExpectUsersFilesIntact();
    ExpectTheNextConverterWorks();
}

} // namespace
