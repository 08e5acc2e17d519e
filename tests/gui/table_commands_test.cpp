// Table files, copies and the 1:1 table through the window's menus and dialogs, on real files.

#include "file_action.h"
#include "gui_test_support.h"
#include "main_window.h"
#include "message_box_recorder.h"
#include "table.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <qcustomplot.h>

namespace {

QByteArray DefaultImageBytes() {
    QByteArray bytes(512, '\0');
    const char parameters[] = {4, 5, char(0x80), 0x40, char(0x80), char(0x80), char(0x80), char(0xFF)};
    for (int i = 0; i < 8; ++i)
        bytes[256 + i] = parameters[i];
    return bytes;
}

class TableCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        previousChooser = TFileAction::DialogChooser();
        TFileAction::DialogChooser() = [this](TFileAction& action) {
            chosenBy << action.objectName();
            return answers.isEmpty() ? QString() : answers.takeFirst();
        };
    }
    void TearDown() override { TFileAction::DialogChooser() = previousChooser; }

    // Runs a file action as the user would, answering its dialog with the given name.
    void RunDialog(QAction* action, const QString& fileName) {
        answers = {fileName};
        action->trigger();
    }

    QString PathOf(const QString& name) const { return folder.filePath(name); }

    static void WriteFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static QByteArray ReadFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QAction* MenuItem(const char* bar, int position, int subPosition = -1) {
        QAction* item = Find<QMenuBar>(&form, bar)->actions().at(position);
        return subPosition < 0 ? item : item->menu()->actions().at(subPosition);
    }

    const TableImage& Working() const { return form.WorkingTable()->Model().image(TableSet::First); }

    TForm1 form;
    QTemporaryDir folder;
    QStringList answers;
    QStringList chosenBy;
    TFileAction::Chooser previousChooser;
};

TEST_F(TableCommandsTest, UndoOfTheOneToOneTableBringsTheLoadedParametersBackToTheBoxesAndTheFile) {
    QByteArray loaded(512, '\x40');
    const char parameters[] = {7, 9, char(0x70), 0x30, 20, 30, 40, char(0xC8)};
    for (int i = 0; i < 8; ++i)
        loaded[256 + i] = parameters[i];
    WriteFile(PathOf("tuned.tab"), loaded);
    RunDialog(MenuItem("ActionMainMenuBarTableGraph", 0), PathOf("tuned.tab"));
    ASSERT_EQ(Find<QLineEdit>(&form, "MaskEditMafTime")->text(), "7");
    RunDialog(MenuItem("ActionMainMenuBarTableGraph", 1), PathOf("as-loaded"));
    const QByteArray asLoaded = ReadFile(PathOf("as-loaded.tab"));
    ASSERT_NE(asLoaded.mid(256, 8), DefaultImageBytes().mid(256, 8));

    MenuItem("ActionMainMenuBarTableGraph", 3)->trigger(); // "Замена &1:1"
    ASSERT_EQ(Find<QLineEdit>(&form, "MaskEditMafTime")->text(), "4") << "the defaults";
    QTest::keyClick(Find<QLineEdit>(&form, "MaskEditMaf1Compare"), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Find<QLineEdit>(&form, "MaskEditMafTime")->text(), "7");
    EXPECT_EQ(Find<QLineEdit>(&form, "MaskEditTpsThreshold")->text(), "200");

    RunDialog(MenuItem("ActionMainMenuBarTableGraph", 1), PathOf("after-undo"));
    EXPECT_EQ(ReadFile(PathOf("after-undo.tab")), asLoaded) << "what the user undid back to is saved";
}

TEST_F(TableCommandsTest, SaveAfterStartUpWritesTheDefaultImageUnderTheProposedName) {
    RunDialog(MenuItem("ActionMainMenuBarTableGraph", 1), PathOf("start"));
    EXPECT_EQ(ReadFile(PathOf("start.tab")), DefaultImageBytes());

    // Before the dialog shows, it proposes "D", the date and the time, with nothing a file name
    // cannot hold.
    TFileAction::DialogChooser() = [](TFileAction& action) {
        EXPECT_TRUE(
            QRegularExpression("^D[^:. /]+_T[0-9]{2}_[0-9]{2}_[0-9]{2}$").match(action.FileName).hasMatch())
            << action.FileName.toStdString();
        return QString();
    };
    Find<TFileAction>(&form, "TabFileSave")->trigger();
}

TEST_F(TableCommandsTest, SaveTakesTheBoxesAsTheyStand) {
    Find<QLineEdit>(&form, "MaskEditSmoothMaf")->setText("999");
    Find<QLineEdit>(&form, "MaskEditEnrichmentFactor")->setText("100");
    RunDialog(Find<TFileAction>(&form, "TabFileSave"), PathOf("a.TAB"));
    const QByteArray saved = ReadFile(PathOf("a.TAB.tab"));
    ASSERT_EQ(saved.size(), 512);
    EXPECT_EQ(quint8(saved[260]), 0xFF);
    EXPECT_EQ(quint8(saved[258]), 0x00);
}

TEST_F(TableCommandsTest, SaveThatCannotCompleteShowsWhyAndKeepsWhatWasThere) {
    MessageBoxRecorder boxes;
    RunDialog(Find<TFileAction>(&form, "TabFileSave"), PathOf("missing/folder/x.tab"));
    QDir().mkdir(PathOf("taken.tab"));
    RunDialog(Find<TFileAction>(&form, "TabFileSave"), PathOf("taken.tab"));
    EXPECT_EQ(boxes.Texts(), QStringList({"Tab file save error", "Can't delete file before saving"}));
    EXPECT_TRUE(QFileInfo(PathOf("taken.tab")).isDir());
    EXPECT_FALSE(QFileInfo::exists(PathOf("missing")));
}

TEST_F(TableCommandsTest, LoadThenEditThenUndoRestoresTheLoadedTable) {
    QByteArray bytes = DefaultImageBytes();
    for (int x = 0; x < 256; ++x)
        bytes[x] = char(x / 2);
    WriteFile(PathOf("ramp.tab"), bytes);
    RunDialog(Find<TFileAction>(&form, "TabFileOpen"), PathOf("ramp.tab"));
    ASSERT_EQ(Working()[200], 100);
    const TableImage loaded = Working();

    form.WorkingTable()->SetPoint(200, 7);
    ASSERT_EQ(Working()[200], 7);
    QTest::keyClick(Find<QLineEdit>(&form, "MaskEditSmoothMaf"), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Working(), loaded);
}

TEST_F(TableCommandsTest, LoadOfAMissingFileNamesItAndChangesNothing) {
    MessageBoxRecorder boxes;
    const TableImage before = Working();
    RunDialog(Find<TFileAction>(&form, "TabFileOpen"), PathOf("nowhere.tab"));
    EXPECT_EQ(boxes.Texts(), QStringList({PathOf("nowhere.tab") + "Tab file load error"}));
    EXPECT_EQ(Working(), before);
}

TEST_F(TableCommandsTest, OneToOneTableFollowsTheInvertChoice) {
    QAction* oneToOne = MenuItem("ActionMainMenuBarTableGraph", 3);
    ASSERT_EQ(oneToOne->text(), "Замена &1:1");
    Find<QLineEdit>(&form, "MaskEditSmoothMaf")->setText("50");

    oneToOne->trigger();
    EXPECT_EQ(Working()[0], 0);
    EXPECT_EQ(Working()[255], 255);
    EXPECT_EQ(Working()[tab2Index(100)], 100);
    EXPECT_EQ(Find<QLineEdit>(&form, "MaskEditSmoothMaf")->text(), "100");

    form.show();
    Find<QTabWidget>(&form, "MainPageControl")->setCurrentWidget(Find<QWidget>(&form, "SetupTabSheet"));
    QTest::mouseClick(Find<QRadioButton>(&form, "RadioButtonVFall"), Qt::LeftButton);
    ASSERT_TRUE(Find<QRadioButton>(&form, "RadioButtonVFall")->isChecked());
    oneToOne->trigger();
    EXPECT_EQ(Working()[0], 255);
    EXPECT_EQ(Working()[255], 0);
    EXPECT_EQ(Working()[tab2Index(8)], 247);

    // Undo brings the previous tables back; the boxes keep the defaults.
    QTest::keyClick(Find<QLineEdit>(&form, "MaskEditSmoothMaf"), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Working()[0], 0);
    EXPECT_EQ(Working()[255], 255);
}

TEST_F(TableCommandsTest, CopiesBetweenTheTablesOfTheWorkingPair) {
    form.WorkingTable()->SetPoint(100, 77); // on Tab1, the selected curve
    MenuItem("ActionMainMenuBarTableGraph", 4, 0)->trigger();
    EXPECT_EQ(Working()[tab2Index(100)], 77);

    form.WorkingTable()->Chart()->Selector(TableCurve::Set1Tab2)->click();
    form.WorkingTable()->SetPoint(120, 33);
    form.WorkingTable()->SetPoint(5, 99); // Tab2 has no MAF 5
    MenuItem("ActionMainMenuBarTableGraph", 4, 1)->trigger();
    EXPECT_EQ(Working()[120], 33);
    EXPECT_EQ(Working()[5], 0) << "Tab1 below MAF 8 is never a copy target";
}

TEST_F(TableCommandsTest, ComparisonPageLoadsAndSavesEachFileWithItsOwnRowOfBoxes) {
    QByteArray bytes = DefaultImageBytes();
    for (int x = 0; x < 256; ++x)
        bytes[x] = char(255 - x);
    WriteFile(PathOf("falling.tab"), bytes);
    RunDialog(MenuItem("ActionMainMenuBarTableCompare", 0, 0), PathOf("falling.tab"));
    RunDialog(MenuItem("ActionMainMenuBarTableCompare", 0, 1), PathOf("falling.tab"));
    EXPECT_EQ(chosenBy, QStringList({"FileOpenCompare", "FileOpenCompare2"}));
    QCustomPlot* chart = Find<QCustomPlot>(&form, "ChartCompare");
    ASSERT_EQ(chart->graphCount(), 5);
    for (int x : {0, 7, 8, 128, 255}) {
        EXPECT_EQ(chart->graph(0)->data()->at(x)->value, chart->graph(3)->data()->at(x)->value) << x;
        EXPECT_EQ(chart->graph(1)->data()->at(x)->value, chart->graph(4)->data()->at(x)->value) << x;
    }
    EXPECT_EQ(Working()[0], 0) << "the working table is not touched";

    Find<QLineEdit>(&form, "MaskEditMaf2Compare")->setText("50");
    RunDialog(MenuItem("ActionMainMenuBarTableCompare", 1, 1), PathOf("second.tab"));
    const QByteArray second = ReadFile(PathOf("second.tab"));
    ASSERT_EQ(second.size(), 512);
    EXPECT_EQ(quint8(second[260]), 64);
    EXPECT_EQ(quint8(second[0]), 255);
    EXPECT_EQ(Find<QLineEdit>(&form, "MaskEditMaf1Compare")->text(), "100") << "row 1 is not read for Tab2";
}

TEST_F(TableCommandsTest, ComparisonChartStartsWithFourFlatCurvesAndDefaultBoxes) {
    QCustomPlot* chart = Find<QCustomPlot>(&form, "ChartCompare");
    TTableChart* tableChart = form.ComparisonTable()->Chart();
    const QStringList titles = {"Tab 1.1", "Tab 1.2", "Trained", "Tab 2.1", "Tab 2.2"};
    for (int curve = 0; curve < 5; ++curve) {
        EXPECT_EQ(chart->graph(curve)->name(), titles[curve]);
        EXPECT_EQ(tableChart->Selector(TableCurve(curve))->text(), titles[curve]);
    }
    EXPECT_FALSE(chart->graph(2)->visible());
    EXPECT_TRUE(tableChart->Selector(TableCurve::Learned)->isHidden());
    EXPECT_EQ(chart->graph(3)->pen().color(), QColor("#800000"));
    for (int curve : {0, 1, 3, 4}) {
        ASSERT_EQ(chart->graph(curve)->data()->size(), 256);
        for (auto point = chart->graph(curve)->data()->constBegin();
             point != chart->graph(curve)->data()->constEnd(); ++point)
            ASSERT_EQ(point->value, 0);
    }
    const QStringList row = {"100", "100", "100", "4", "5", "0", "50", "255"};
    const QStringList names = {
        "Maf", "Tps", "Rpm", "MafTime", "Treshold", "EnrichmentFactor", "EnleanmentFactor", "TpsThreshold"};
    for (int set = 1; set <= 2; ++set)
        for (int i = 0; i < names.size(); ++i)
            EXPECT_EQ(Find<QLineEdit>(&form, QString("MaskEdit%1%2Compare").arg(names[i]).arg(set))->text(),
                      row[i]);
}

} // namespace
