// The fault matrix in the uploader: a converter that does not answer, refuses a frame or hangs up in
// the middle of an upload, a port that is not there or is held by another program, and a port list
// that follows the ports present. After each: the message, a closed port that waits to be chosen
// again, the next converter taking the file without a restart, and the firmware file untouched.

#include "port_combo_box.h"
#include "port_without_permission.h"
#include "saved_files.h"
#include "uploader_fixture.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

using Bytes = std::vector<std::uint8_t>;

const QString kLineFailedHint =
    "The line to the converter failed during the upload (an adapter pulled out, a Bluetooth link lost). "
    "Reconnect it, choose the port again and send the file again.";

class UploaderFaultMatrix : public UploaderTest {
protected:
    void SetUp() override {
        UploaderTest::SetUp();
        firmwareFile = FirmwareFile(kTwoFramesText);
        saved.Keep(firmwareFile);
    }

    // (b) and (c): nothing left open to send to, and the fault gone, the same window sends the file.
    void ExpectTheNextConverterTakesTheFile() {
        EXPECT_FALSE(firmware->isEnabled()) << "Firmware waits for a port to be chosen again";
        boxes.Clear();
        ChooseConverter({});
        ASSERT_TRUE(firmware->isEnabled());
        Upload(firmwareFile);
        EXPECT_EQ(boxes.Texts(), QStringList{"Upgrade is successful"});
        EXPECT_EQ(Device([](const ConverterModel& d) { return d.AcceptedFrames(); }), kFramesOfTwo);
        EXPECT_TRUE(saved.Changed().isEmpty()) << "the firmware file is as it was";
    }

    QString firmwareFile;
    SavedFiles saved;
};

struct UploadFault {
    const char* name;
    FaultSwitches faults;
    QString message; // a pattern: which operation meets a line that hangs up depends on the moment
};

void PrintTo(const UploadFault& fault, std::ostream* out) {
    *out << fault.name;
}

class UploadFaults : public UploaderFaultMatrix, public ::testing::WithParamInterface<UploadFault> {};

TEST_P(UploadFaults, TellTheUserCloseThePortAndLetTheNextConverterTakeTheFile) {
    ChooseConverter(GetParam().faults);
    ASSERT_TRUE(firmware->isEnabled());
    Upload(firmwareFile);
    ASSERT_EQ(boxes.Texts().size(), 1) << boxes.Texts().join(" | ").toStdString();
    EXPECT_TRUE(QRegularExpression(QRegularExpression::anchoredPattern(GetParam().message))
                    .match(boxes.Texts()[0])
                    .hasMatch())
        << boxes.Texts()[0].toStdString();
    ExpectTheNextConverterTakesTheFile();
}

INSTANTIATE_TEST_SUITE_P(
    FaultMatrix, UploadFaults,
    ::testing::Values(UploadFault{"Row1Silent", {.silent = true}, QRegularExpression::escape(kNoReply)},
                      UploadFault{
                          "Row8RejectedFrames", {.rejectFrames = 4}, QRegularExpression::escape(kRejected)},
                      UploadFault{"Row9HangUpMidUpload",
                                  {.hangUp = true},
                                  "(Read|Write)File function failed \\(Error: 5\\)\n\n" +
                                      QRegularExpression::escape(kLineFailedHint)}),
    [](const ::testing::TestParamInfo<UploadFault>& info) { return std::string(info.param.name); });

TEST_F(UploaderFaultMatrix, Row9And10APortNotThereOrHeldByAnotherIsToldAndTheNextPortWorks) {
    ConverterModel model;
    model.SetUpdateMode(true);
    SimulatorServer held(std::move(model));
    TComPort other;
    other.SetPortName(held.SlavePath());
    other.Open();
    const struct {
        const char* name;
        QString port;
        QString message;
    } cases[] = {
        {"not there", "/dev/ttyZarniGone", "Unable to open com port (Error: 2)\n\n" + kNotPresentHint},
        {"held by another program", QString::fromStdString(held.SlavePath()),
         "Unable to open com port (Error: 11)\n\n" + kHeldHint},
    };
    for (const auto& c : cases) {
        boxes.Clear();
        TypePort(c.port);
        EXPECT_EQ(boxes.Texts(), QStringList{c.message}) << c.name;
        ExpectTheNextConverterTakesTheFile();
    }
    // Once the other program lets go, the port is ours.
    other.Close();
    boxes.Clear();
    TypePort(QString::fromStdString(held.SlavePath()));
    Upload(firmwareFile);
    EXPECT_EQ(boxes.Texts(), QStringList{"Upgrade is successful"});
}

TEST_F(UploaderFaultMatrix, Row9ThePortListDropsAPortThatHasGoneAndOffersTheOneThatCame) {
    const TPortComboBox::Lister previous = TPortComboBox::SystemPorts();
    QStringList known;
    TPortComboBox::SystemPorts() = [&known] {
        QStringList present;
        for (const QString& path : known)
            if (QFileInfo::exists(path))
                present << path;
        // The system hands a closed terminal's number to the next one.
        present.removeDuplicates();
        return present;
    };
    const auto listed = [this] {
        auto* com = Find<QComboBox>(&form, "COM");
        com->showPopup();
        com->hidePopup();
        QStringList items;
        for (int i = 0; i < com->count(); ++i)
            items << com->itemText(i);
        return items;
    };
    ChooseConverter({.hangUp = true});
    known << QString::fromStdString(converter->SlavePath());
    EXPECT_EQ(listed(), QStringList({known[0], "Simulator"}));
    Upload(firmwareFile); // the line hangs up after the first frame
    EXPECT_EQ(listed(), QStringList{"Simulator"}) << "its device node has gone";
    EXPECT_EQ(Find<QComboBox>(&form, "COM")->currentText(), known[0]) << "what was typed stays";
    ChooseConverter({});
    known << QString::fromStdString(converter->SlavePath());
    EXPECT_EQ(listed(), QStringList({known[1], "Simulator"}));
    ChooseListedPort(known[1]);
    Upload(firmwareFile);
    EXPECT_EQ(boxes.Texts().last(), "Upgrade is successful");
    TPortComboBox::SystemPorts() = previous;
}

} // namespace
