// The uploader's window against the simulated converter in update mode, through the real port: the
// port choice, the upload with its gauge and messages, and what a failure leaves.

#include "list_ports.h"
#include "port_without_permission.h"
#include "uploader_fixture.h"

#include <QFile>
#include <QLabel>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The gauge's value at each of its paints: a repaint at once shows every step while the window is
// blocked.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(TGauge& gauge) : gauge(gauge) { gauge.installEventFilter(this); }
    ~PaintRecorder() override { gauge.removeEventFilter(this); }
    std::vector<int> shown;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            shown.push_back(gauge.Progress());
        return false;
    }

private:
    TGauge& gauge;
};

} // namespace

TEST_F(UploaderTest, StartsWithThePortsListedAndFirmwareDisabled) {
    EXPECT_EQ(form.windowTitle(), "Zarni Firmware Uploader");
    form.show();
    EXPECT_EQ(form.frameGeometry().size(), QSize(417, 209));
    QStringList expected;
    for (const std::string& name : ListPorts())
        expected << QString::fromStdString(name);
    expected << "Simulator";
    QComboBox* com = Find<QComboBox>(&form, "COM");
    QStringList listed;
    for (int i = 0; i < com->count(); ++i)
        listed << com->itemText(i);
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(com->currentText(), "");
    EXPECT_EQ(firmware->text(), "Firmware");
    EXPECT_FALSE(firmware->isEnabled());
    const struct {
        const char* name;
        const char* text;
    } labels[] = {{"Label1", "Port:"},
                  {"Label2", "Attention!!!"},
                  {"Label3", "Follow firmware upgrade"},
                  {"Label4", "instructions carefully"}};
    for (const auto& label : labels) {
        QLabel* found = Find<QLabel>(&form, label.name);
        EXPECT_EQ(found->text(), label.text);
        EXPECT_TRUE(found->font().bold()) << label.name;
    }
    EXPECT_EQ(gauge->ForeColor(), QColor(0, 0, 128));
    EXPECT_TRUE(gauge->ShowText());
}

TEST_F(UploaderTest, TheConverterAnswersDecideHowTheUploadEndsAndWhatStaysOpen) {
    const struct {
        const char* name;
        FaultSwitches faults;
        QString message;
        std::size_t accepted;
        int transmissions;
        std::vector<int> gauge; // the values shown, in order
        bool portStaysOpen;
    } cases[] = {
        {"every frame acknowledged", {}, "Upgrade is successful", 2, 2, {0, 62, 100}, true},
        {"three rejections, then an acknowledgement",
         {.rejectFrames = 3},
         "Upgrade is successful",
         2,
         8,
         {0, 0, 0, 0, 62, 62, 62, 62, 100},
         true},
        {"four rejections", {.rejectFrames = 4}, kRejected, 0, 4, {0, 0, 0, 0}, false},
        {"no answer", {.silent = true}, kNoReply, 0, 0, {0}, false},
        // Read as replies, the four stale bytes would reject the second frame four times.
        {"stale bytes before each frame are drained",
         {.staleBytes = true},
         "Upgrade is successful",
         2,
         2,
         {0, 62, 100},
         true},
    };
    const QString path = FirmwareFile(kTwoFramesText);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    for (const auto& c : cases) {
        ChooseConverter(c.faults);
        ASSERT_TRUE(firmware->isEnabled()) << c.name;
        boxes.Clear();
        PaintRecorder paints(*gauge);
        Upload(path);
        EXPECT_EQ(boxes.Texts(), QStringList{c.message}) << c.name;
        // Paints after the upload (the message box closing) show its last value again.
        std::vector<int> shown = paints.shown;
        shown.resize(std::min(shown.size(), c.gauge.size()));
        EXPECT_EQ(shown, c.gauge) << c.name;
        EXPECT_EQ(Device([](const ConverterModel& d) { return d.AcceptedFrames(); }),
                  std::vector<Bytes>(kFramesOfTwo.begin(), kFramesOfTwo.begin() + c.accepted))
            << c.name;
        EXPECT_EQ(Device([](const ConverterModel& d) { return d.FramesReceived(); }), c.transmissions)
            << c.name;
        EXPECT_EQ(firmware->isEnabled(), c.portStaysOpen) << c.name;
    }
    EXPECT_EQ(filters.first(), "Firmware (*.enc);;All (*.*)");
}

TEST_F(UploaderTest, AfterAFailureChoosingThePortAgainReopensItForTheNextTry) {
    ChooseConverter({.rejectFrames = 4});
    Upload(FirmwareFile("0001DD"));
    ASSERT_EQ(boxes.Texts(), QStringList{kRejected});
    EXPECT_FALSE(firmware->isEnabled());
    Device([](ConverterModel& d) { d.SetFaults({}); });
    boxes.Clear();
    TypePort(QString::fromStdString(converter->SlavePath())); // the same port, chosen again
    ASSERT_TRUE(firmware->isEnabled());
    Upload(FirmwareFile("0001DD"));
    EXPECT_EQ(boxes.Texts(), QStringList{"Upgrade is successful"});
    EXPECT_EQ(Device([](const ConverterModel& d) { return d.AcceptedFrames().size(); }), 1u);
}

TEST_F(UploaderTest, FilesThatAreNotDigitPairsSendNothing) {
    const struct {
        const char* name;
        QByteArray text;
        QString message;
    } cases[] = {
        {"a line end at the end", "0003AABBCC0001DD\n", "'$\n' is not a valid integer value"},
        {"blanks between the bytes", "00 01 DD", "'$ ' is not a valid integer value"},
        {"an odd number of digits", "0001D",
         "The firmware file has an odd number of digits: its last byte is incomplete."},
        {"empty file", "", "No firmware in this file."},
        {"frame longer than the image", "0005AABB",
         "The firmware file is damaged: the frame at byte 0 announces 5 bytes, but only 2 follow."},
    };
    ChooseConverter({});
    for (const auto& c : cases) {
        boxes.Clear();
        Upload(FirmwareFile(c.text));
        EXPECT_EQ(boxes.Texts(), QStringList{c.message}) << c.name;
        EXPECT_TRUE(firmware->isEnabled()) << c.name;
    }
    boxes.Clear();
    Upload(folder.filePath("missing.enc"));
    EXPECT_EQ(boxes.Texts(), QStringList{"Cannot open file \"" + folder.filePath("missing.enc") + "\"."});
    boxes.Clear();
    Upload(QString()); // the dialog cancelled
    EXPECT_TRUE(boxes.Texts().isEmpty());
    EXPECT_EQ(Device([](const ConverterModel& d) { return d.FramesReceived(); }), 0);
}

TEST_F(UploaderTest, APortThatCannotBeOpenedShowsTheSerialErrorAndLeavesFirmwareDisabled) {
    TypePort("/dev/no-such-port");
    EXPECT_EQ(boxes.Texts(), QStringList{"Unable to open com port (Error: 2)\n\n" + kNotPresentHint});
    EXPECT_FALSE(firmware->isEnabled());
}

TEST_F(UploaderTest, APortWithoutPermissionOrHeldByAnotherAddsWhatToDoToTheSerialError) {
    PortWithoutPermission forbidden;
    forbidden.ChooseAsUnprivilegedUser([&] { TypePort(QString::fromStdString(forbidden.Path())); });
    PortHeldByAnother held;
    TypePort(QString::fromStdString(held.Path()));
    EXPECT_EQ(boxes.Texts(), QStringList({"Unable to open com port (Error: 13)\n\n" + kDialoutHint,
                                          "Unable to open com port (Error: 11)\n\n" + kHeldHint}));
    EXPECT_FALSE(firmware->isEnabled());
}

TEST_F(UploaderTest, TheSimulatorEntryServesAConverterInUpdateMode) {
    ChooseListedPort("Simulator");
    ASSERT_TRUE(firmware->isEnabled());
    answers = {FirmwareFile(kTwoFramesText)};
    firmware->trigger();
    EXPECT_EQ(boxes.Texts(), QStringList{"Upgrade is successful"});
    ASSERT_NE(form.Simulator(), nullptr);
    EXPECT_EQ(form.Simulator()->WithModel([](const ConverterModel& d) { return d.AcceptedFrames(); }),
              kFramesOfTwo);
}
