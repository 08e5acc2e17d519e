// The fault matrix, the port itself: a name with no port behind it, a port that disappears (its line
// hangs up and its device node goes), and a port another program holds.

#include "fault_matrix_fixture.h"

namespace {

TEST_F(FaultMatrixTest, APortThatIsNotThereIsToldAtTheChoiceAndStartLeavesTheWindowIdle) {
    form->LiveData()->LoadLog(Log::RecordingsFolder() + "/earlier-run.log");
    ChoosePort("ttyZarniAbsent");
    // (a) told when it is chosen, not first at Start.
    EXPECT_EQ(boxes.Texts(), QStringList{kNotPresentMessage});
    boxes.Clear();
    Trigger("ActionStart");
    EXPECT_EQ(boxes.Texts(), QStringList{"PurgeComm function failed (Error: 9)"});
    // (b) the failed start shows no run, and Read and Write stay as they were.
    ExpectIdle();
    EXPECT_FALSE(Enabled("ActionReadCoverter"));
    EXPECT_FALSE(Enabled("ActionWriteConverter"));
    // (c) the loaded log is not cleared by a start that never began.
    EXPECT_EQ(Samples(), 3u);
    EXPECT_TRUE(saved.NewFiles(Log::RecordingsFolder()).isEmpty());
    ExpectUsersFilesIntact();
    ExpectTheNextConverterWorks();
}

TEST_F(FaultMatrixTest, Row9APortThatDisappearsLeavesTheListAndSaysSoWhenChosenAgain) {
    UseConverter({.hangUp = true});
    const QString gone = knownPorts.back();
    EXPECT_TRUE(ListedPorts().contains(gone));
    StartRun();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Enabled("ActionStart"); }, 5000));
    // (a) the line's failure when it happens; a start on the dead line says why it cannot start.
    EXPECT_EQ(boxes.Texts(), QStringList{"ReadFile function failed (Error: 5)"});
    EXPECT_FALSE(QFileInfo::exists(gone)) << "its device node is gone";
    boxes.Clear();
    Trigger("ActionStart");
    EXPECT_EQ(boxes.Texts(), QStringList{"PurgeComm function failed (Error: 5)"});
    ExpectIdle();

    // (b) the list no longer offers it; chosen by name all the same, it is reported as not there.
    boxes.Clear();
    EXPECT_FALSE(ListedPorts().contains(gone));
    EXPECT_EQ(Find<QComboBox>(form.get(), "ComComboBox1")->currentIndex(), -1) << "nothing chosen";
    ChoosePort(gone);
    EXPECT_EQ(boxes.Texts(), QStringList{kNotPresentMessage});
    ExpectIdle();
    // (c) what the run received is recorded whole.
    ExpectTheRunRecorded();
    ExpectUsersFilesIntact();
    // The port that appears next (an adapter plugged in again) is listed and works.
    ExpectTheNextConverterWorks();
    EXPECT_TRUE(ListedPorts().contains(knownPorts.back()));
}

TEST_F(FaultMatrixTest, Row10APortHeldByAnotherProgramIsToldAndTakenOnceFreed) {
    converter = std::make_unique<SimulatorServer>();
    const QString path = QString::fromStdString(converter->SlavePath());
    TComPort other;
    other.SetPortName(path.toStdString());
    other.Open();
    ChoosePort(path);
    // (a) who has it and what to do.
    EXPECT_EQ(boxes.Texts(), QStringList{kHeldMessage});
    // (b) nothing connected, nothing running.
    EXPECT_FALSE(form->Link()->Connected());
    EXPECT_FALSE(Enabled("ActionReadCoverter"));
    ExpectIdle();

    // Once the other program lets go, the same choice connects; while ours holds it, the other is
    // refused in turn.
    other.Close();
    boxes.Clear();
    ChoosePort(path);
    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join(" | ").toStdString();
    EXPECT_EQ(FirmwareLabel(), "Версия прошивки V 3.6");
    EXPECT_THROW(other.Open(), ESerialError);
    // (c) the user's files as they were.
    ExpectUsersFilesIntact();
    ExpectTheNextConverterWorks();
}

} // namespace
