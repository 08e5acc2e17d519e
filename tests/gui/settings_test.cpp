// The settings file through the real window: what a close writes, what a start and the settings
// menu load, short and damaged files, the file left by an earlier version, and a whole round trip.

#include "file_action.h"
#include "gui_test_support.h"
#include "live_run.h"
#include "log.h"
#include "main_window.h"
#include "message_box_recorder.h"
#include "o2_target_grid.h"
#include "settings.h"
#include "table.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// What a default window writes: the known 261 bytes.
QByteArray DefaultSettings() {
    QByteArray bytes("\x00\xFF\x01\x01\x01\x00\x0A\x00\x1E\x00\x00\x00\x00", 13);
    bytes.append(240, '\0');
    bytes.append(QByteArray("\x00\x02\x00\x04\x04\xB0\x00\x02", 8));
    return bytes;
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        previousChooser = TFileAction::DialogChooser();
        TFileAction::DialogChooser() = [this](TFileAction&) {
            return answers.isEmpty() ? QString() : answers.takeFirst();
        };
        Start();
    }
    void TearDown() override { TFileAction::DialogChooser() = previousChooser; }

    // A new window, as at a start of the program.
    void Start() {
        form.reset();
        form = std::make_unique<TForm1>();
    }
    void Close() { form->close(); }
    void Restart() {
        Close();
        Start();
    }

    template <class T> T* Control(const char* name) { return Find<T>(form.get(), name); }
    QString Text(const char* name) { return Control<QLineEdit>(name)->text(); }
    QString Cell(int column, int row) {
        const QTableWidgetItem* item = Control<QTableWidget>("StringGridO2Table")->item(row, column);
        return item ? item->text() : QString();
    }
    QAction* SetupMenuItem(int position) {
        return Control<QMenuBar>("ActionMainMenuBarOptionsSetup")->actions().at(position);
    }
    void RunDialog(QAction* item, const QString& fileName) {
        answers = {fileName};
        item->trigger();
    }

    MessageBoxRecorder boxes;
    QTemporaryDir folder;
    QStringList answers;
    TFileAction::Chooser previousChooser;
    std::unique_ptr<TForm1> form;
};

} // namespace

TEST_F(SettingsTest, AFirstStartSaysNothingAndADefaultWindowClosedAtOnceWritesTheKnownBytes) {
    EXPECT_TRUE(boxes.Texts().isEmpty()) << "no settings file yet is no error";
    Close();
    EXPECT_EQ(ReadFile(TSettings::UserSettingsFile()), DefaultSettings());
}

TEST_F(SettingsTest, LoadingTheDefaultBytesSelectsNoSensorAndTurnsEveryStoredCellIntoZero) {
    WriteFile(folder.filePath("default.cfg"), DefaultSettings());
    Control<QComboBox>("ComboBoxO2")->setCurrentIndex(2);
    RunDialog(SetupMenuItem(0), folder.filePath("default.cfg"));
    EXPECT_EQ(Control<QComboBox>("ComboBoxO2")->currentIndex(), -1);
    EXPECT_EQ(Text("MaskEditO2REF"), "30");
    for (int row = 0; row <= 10; ++row)
        for (int column = 0; column <= 10; ++column)
            EXPECT_EQ(Cell(column, row), column == 0 && row == 10 ? "" : "0") << column << "," << row;
    EXPECT_EQ(form->O2Grid()->Model().Cell(4, 4), "0") << "the model holds what the grid shows";
    EXPECT_EQ(Control<QLabel>("LabelTpsMin")->text(), "Min=0");
    EXPECT_EQ(form->LiveRun()->SoundDir(), "Sound/") << "the stored language was applied";
}

TEST_F(SettingsTest, TextFieldsAreStoredByTheirRuleAndComeBackAsNumbers) {
    Control<QLineEdit>("MaskEditForcedIdleRpm")->setText("123456");
    Control<QLineEdit>("MaskEditFast")->setText("123");
    Restart();
    const QByteArray bytes = ReadFile(TSettings::UserSettingsFile());
    ASSERT_EQ(bytes.size(), 261);
    EXPECT_EQ(quint8(bytes[257]), 0xE2);
    EXPECT_EQ(quint8(bytes[258]), 0x40);
    EXPECT_EQ(quint8(bytes[254]), 12);
    EXPECT_EQ(Text("MaskEditForcedIdleRpm"), "57920");
    EXPECT_EQ(Text("MaskEditFast"), "12");
}

TEST_F(SettingsTest, SavingFromTheMenuAlwaysAppendsTheExtension) {
    for (const char* name : {"mysetup", "mysetup.cfg"})
        RunDialog(SetupMenuItem(1), folder.filePath(name));
    EXPECT_EQ(ReadFile(folder.filePath("mysetup.cfg")), DefaultSettings());
    EXPECT_EQ(ReadFile(folder.filePath("mysetup.cfg.cfg")), DefaultSettings());
}

TEST_F(SettingsTest, AFallingVafSignalInvertsBothTablesAndTheLiveDataAtOnce) {
    QByteArray bytes = DefaultSettings();
    bytes[3] = 0;
    WriteFile(folder.filePath("inverted.cfg"), bytes);
    RunDialog(SetupMenuItem(0), folder.filePath("inverted.cfg"));
    EXPECT_TRUE(Control<QRadioButton>("RadioButtonVFall")->isChecked());
    EXPECT_TRUE(form->WorkingTable()->Model().invert());
    EXPECT_TRUE(form->ComparisonTable()->Model().invert());
    EXPECT_TRUE(form->LiveData()->Options.OutputInverted);
}

TEST_F(SettingsTest, AStoredEnglishStartsTheProgramInEnglish) {
    QByteArray bytes = DefaultSettings();
    bytes[0] = 1;
    WriteFile(TSettings::UserSettingsFile(), bytes);
    Start();
    EXPECT_EQ(Control<QLabel>("LabelFirmware")->text(), "Firmware V ");
    EXPECT_EQ(Control<QComboBox>("ComboBoxLanguage")->currentIndex(), 1);
}

TEST_F(SettingsTest, AShortFileChangesOnlyTheFieldsItHolds) {
    Control<QLineEdit>("MaskEditO2REF")->setText("77");
    WriteFile(folder.filePath("empty.cfg"), {});
    RunDialog(SetupMenuItem(0), folder.filePath("empty.cfg"));
    EXPECT_EQ(Text("MaskEditO2REF"), "77") << "no sensor type read: its default is not applied";
    EXPECT_TRUE(form->LiveRun()->SoundDir().isEmpty()) << "no language read: no switch";
    EXPECT_EQ(Control<QLabel>("LabelTpsMin")->text(), "Min=");

    // Through the sensor type and the VAF direction; the rest stays.
    QByteArray bytes = DefaultSettings().left(4);
    bytes[1] = 1;
    bytes[3] = 0;
    Control<QLineEdit>("MaskEditFast")->setText("7");
    WriteFile(folder.filePath("short.cfg"), bytes);
    RunDialog(SetupMenuItem(0), folder.filePath("short.cfg"));
    EXPECT_EQ(Control<QComboBox>("ComboBoxO2")->currentIndex(), 1);
    EXPECT_EQ(Text("MaskEditO2REF"), "147") << "the sensor's default";
    EXPECT_TRUE(Control<QRadioButton>("RadioButtonVFall")->isChecked());
    EXPECT_TRUE(Control<QRadioButton>("RadioButtonTPSN")->isChecked()) << "byte 4 not read";
    EXPECT_EQ(Text("MaskEditFast"), "7");
    EXPECT_EQ(Text("MaskEditDelta"), "10");
    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join(" | ").toStdString();
}

TEST_F(SettingsTest, AFileThatCannotBeReadIsNamedAndChangesNothing) {
    RunDialog(SetupMenuItem(0), folder.filePath("missing.cfg"));
    EXPECT_EQ(boxes.Texts(), QStringList({folder.filePath("missing.cfg") + " Config file load error"}));

    // At start: a settings file that is a folder.
    boxes.Clear();
    QFile::remove(TSettings::UserSettingsFile());
    QDir().mkpath(TSettings::UserSettingsFile());
    Start();
    EXPECT_EQ(boxes.Texts(), QStringList({TSettings::UserSettingsFile() + " Config file load error"}));
    boxes.Clear();
    Close();
    EXPECT_EQ(boxes.Texts(), QStringList({"Config file save error"}));
    QDir().rmdir(TSettings::UserSettingsFile());
}

TEST_F(SettingsTest, TheFileOfAnEarlierVersionInTheWorkingFolderIsLoadedOnceThenTheUsersOwn) {
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    QByteArray bytes = DefaultSettings();
    bytes[0] = 1;
    WriteFile("config.cfg", bytes);
    Start();
    EXPECT_EQ(Control<QComboBox>("ComboBoxLanguage")->currentIndex(), 1);
    Control<QComboBox>("ComboBoxLanguage")->setCurrentIndex(0);
    Restart();
    EXPECT_EQ(Control<QComboBox>("ComboBoxLanguage")->currentIndex(), 0)
        << "the user's file, written at close";
    EXPECT_EQ(ReadFile("config.cfg"), bytes) << "the earlier version's file stays as it was";
    QDir::setCurrent(previous);
}

TEST_F(SettingsTest, EverythingTheUserSetComesBackAfterARestart) {
    Control<QComboBox>("ComboBoxLanguage")->setCurrentIndex(1);
    Control<QComboBox>("ComboBoxO2")->setCurrentIndex(3);
    Control<QLineEdit>("MaskEditO2REF")->setText("135");
    Control<QRadioButton>("RadioButtonVFall")->click();
    form->O2Grid()->SetCell(0, 0, "100");
    form->O2Grid()->SetCell(3, 4, "140");
    form->O2Grid()->SetCell(10, 10, "6500");
    form->O2Grid()->SetCalibration(18, 245);
    Control<QLineEdit>("MaskEditFast")->setText("3");
    Control<QLineEdit>("MaskEditFine")->setText("6");
    Control<QLineEdit>("MaskEditForcedIdleRpm")->setText("1500");
    Control<QLineEdit>("MaskEditForcedIdleTps")->setText("4");
    for (int click = 0; click < 5; ++click)
        QTest::mouseClick(Control<QWidget>("UpDown1")->findChild<QWidget*>("Up"), Qt::LeftButton);

    Restart();
    EXPECT_EQ(Control<QComboBox>("ComboBoxLanguage")->currentIndex(), 1);
    EXPECT_EQ(Control<QLabel>("LabelOS")->text(), "O2 Sensor");
    EXPECT_EQ(Control<QComboBox>("ComboBoxO2")->currentIndex(), 3);
    EXPECT_EQ(Text("MaskEditO2REF"), "135");
    EXPECT_TRUE(Control<QRadioButton>("RadioButtonVFall")->isChecked());
    EXPECT_TRUE(form->WorkingTable()->Model().invert());
    EXPECT_EQ(Cell(0, 0), "100");
    EXPECT_EQ(Cell(3, 4), "140");
    EXPECT_EQ(Cell(10, 10), "6500");
    EXPECT_EQ(form->O2Grid()->Model().Cell(3, 4), "140");
    EXPECT_EQ(form->O2Grid()->TpsMin(), 18);
    EXPECT_EQ(form->O2Grid()->TpsMax(), 245);
    EXPECT_EQ(Control<QLabel>("LabelTpsMin")->text(), "Min=18");
    EXPECT_EQ(Control<QLabel>("LabelTpsMax")->text(), "Max=245");
    EXPECT_EQ(Text("MaskEditFast"), "3");
    EXPECT_EQ(Text("MaskEditFine"), "6");
    EXPECT_EQ(Text("MaskEditForcedIdleRpm"), "1500");
    EXPECT_EQ(Text("MaskEditForcedIdleTps"), "4");
    EXPECT_EQ(Text("MaskEditDelta"), "15");
}
