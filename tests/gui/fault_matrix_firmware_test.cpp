// The fault matrix, the configurator's firmware update: frames the converter keeps refusing, alone and
// in the update with the 1:1 table, and a 1:1 table that does not verify after a good update.

#include "autotuning_setup_page.h"
#include "fault_matrix_fixture.h"

#include <QProgressBar>

namespace {

TEST_F(FaultMatrixTest, Row8RejectedFramesEndTheUpdateAndTheUpdateWithTheOneToOneTable) {
    UseConverterInUpdateMode({.rejectFrames = 4});
    const TableImage before = Working();
    RunFileAction("FileOpenFirmware", firmwareFile);
    EXPECT_EQ(Find<QProgressBar>(form.get(), "ProgressBar1")->value(), 0) << "how far it got";
    answers = {firmwareFile};
    Trigger("ActionUpgradeFirmwareOneToOne");
    // (a) the same message for both; nothing follows the second.
    EXPECT_EQ(boxes.Texts(), QStringList(2, "CRC error.  " + kCheckTheConverter));
    // (b) no upload and no run going.
    ExpectIdle();
    // (c) no 1:1 table in the window, none on the converter.
    EXPECT_EQ(Working(), before);
    EXPECT_EQ(Device([](const ConverterModel& device) { return device.StoredImage(); }),
              ConverterModel::DefaultImage());
    ExpectUsersFilesIntact();

    // The converter restarted and the update sent again: it goes through in the same window.
    UseConverterInUpdateMode({});
    RunFileAction("FileOpenFirmware", firmwareFile);
    EXPECT_EQ(boxes.Texts(), QStringList{kFirmwareUpdated});
    ExpectTheNextConverterWorks();
}

TEST_F(FaultMatrixTest, TheUpdateWithTheOneToOneTableStartsNoRunWhenTheTableDidNotVerify) {
    UseConverter({.wrongReadBack = true});
    Device([](ConverterModel& device) { device.SetUpdateMode(true, 2); }); // a two-frame image
    boxes.Clear();
    const int sensorType = form->SetupPage()->SensorType();
    ASSERT_NE(sensorType, 2);
    answers = {firmwareFile};
    Trigger("ActionUpgradeFirmwareOneToOne");
    EXPECT_EQ(boxes.Texts(), QStringList({kFirmwareUpdated, "VerificationError", kVerificationText}));
    // A first run against a table the converter does not hold would tune the wrong table.
    ExpectIdle();
    EXPECT_FALSE(Device([](const ConverterModel& device) { return device.Streaming(); }));
    EXPECT_EQ(form->SetupPage()->SensorType(), sensorType);
    ExpectUsersFilesIntact();
}

} // namespace
