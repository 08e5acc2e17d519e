// The O2 target grid on the autotuning page, driven with the mouse and keys: the headers' colours, the
// input masks, what selecting a cell does, the fill button, and the target the live data asks for:
// what is typed into the grid is what the target grid model reads.

#include "autotuning_setup_page.h"
#include "bar_gauge.h"
#include "gui_test_support.h"
#include "main_window.h"
#include "o2_target_grid.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

namespace {

class O2TargetGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid = Find<QTableWidget>(&form, "StringGridO2Table");
        ASSERT_TRUE(grid);
        Find<QTabWidget>(&form, "MainPageControl")->setCurrentWidget(Find<QWidget>(&form, "SetupTabSheet"));
        Find<QTabWidget>(&form, "PageControl1")
            ->setCurrentWidget(Find<QWidget>(&form, "TabSheetAutotuningSetup"));
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    void ClickCell(int column, int row) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(Index(column, row)).center());
    }

    // Selects the cell and types as a user does: the first key opens the cell's editor, Tab commits it.
    void TypeIntoCell(int column, int row, const QString& keys) {
        ClickCell(column, row);
        QTest::keyClicks(grid, keys.left(1));
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (!editor)
            return;
        QTest::keyClicks(editor, keys.mid(1));
        QTest::keyClick(editor, Qt::Key_Tab);
    }

    QString CellText(int column, int row) const {
        const QTableWidgetItem* item = grid->item(row, column);
        return item ? item->text() : QString();
    }

    QModelIndex Index(int column, int row) const { return grid->model()->index(row, column); }

    // A point of the cell away from its text and its grid lines.
    QColor DrawnColour(int column, int row) const {
        const QImage image = grid->viewport()->grab().toImage();
        const QRect cell = grid->visualRect(Index(column, row));
        return image.pixelColor(cell.right() - 3, cell.bottom() - 3);
    }

    void SetHeaders(const std::vector<const char*>& throttle, const std::vector<const char*>& speed) {
        for (int row = 0; row < int(throttle.size()); ++row)
            form.O2Grid()->SetCell(0, row, throttle[row]);
        for (int column = 1; column <= int(speed.size()); ++column)
            form.O2Grid()->SetCell(column, 10, speed[column - 1]);
    }

    // What the live tick does: the model chooses the target, the grid shows it.
    TargetGridModel::Choice ShowTargetAt(int rawTps, int rpm) {
        const TargetGridModel::Choice choice = form.O2Grid()->Model().TargetAt(rawTps, rpm);
        form.O2Grid()->ShowTarget(choice);
        return choice;
    }

    TForm1 form;
    QTableWidget* grid = nullptr;
};

TEST_F(O2TargetGridTest, HeadersAreDrawnInTheGaugeColoursAndTargetsOnTheGridBackground) {
    ClickCell(5, 5);
    const struct {
        int column, row;
        QColor colour;
    } cells[] = {{0, 0, QColor("#8000FF")},   {0, 9, QColor("#8000FF")},  {1, 10, QColor("#A8D3FF")},
                 {10, 10, QColor("#A8D3FF")}, {0, 10, QColor("#808080")}, {1, 0, QColor("#CDCDCD")},
                 {10, 9, QColor("#CDCDCD")}};
    for (const auto& cell : cells)
        EXPECT_EQ(DrawnColour(cell.column, cell.row), cell.colour) << cell.column << "," << cell.row;

    // The headers follow the gauges' bar colours.
    Find<TGauge>(&form, "GaugeTps")->SetForeColor(QColor("#FF0000"));
    Find<TGauge>(&form, "GaugeRpm")->SetForeColor(QColor("#00FF00"));
    EXPECT_EQ(DrawnColour(0, 3), QColor("#FF0000"));
    EXPECT_EQ(DrawnColour(4, 10), QColor("#00FF00"));
}

TEST_F(O2TargetGridTest, CellsTakeUpToThreeDigitsAndSpeedHeadersFour) {
    const struct {
        int column, row;
        const char* keys;
        const char* text;
    } cases[] = {{3, 4, "1234", "123"}, {3, 4, "7a8-9", "789"},   {0, 2, "95", "95"},
                 {0, 9, "1000", "100"}, {1, 10, "12345", "1234"}, {10, 10, "x7000", "7000"},
                 {6, 0, "047", "047"}};
    for (const auto& c : cases) {
        TypeIntoCell(c.column, c.row, c.keys);
        EXPECT_EQ(CellText(c.column, c.row), c.text) << c.keys;
    }
    EXPECT_EQ(form.SetupPage()->StringGridO2TableGetEditMask(4, 10), "!9999;1;");
    EXPECT_EQ(form.SetupPage()->StringGridO2TableGetEditMask(4, 9), "!999;1;");
    EXPECT_EQ(form.SetupPage()->StringGridO2TableGetEditMask(0, 0), "!999;1;");
}

TEST_F(O2TargetGridTest, TheCornerCannotBeEditedAndOtherCellsCanAgain) {
    TypeIntoCell(0, 10, "55");
    EXPECT_EQ(CellText(0, 10), "");
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    TypeIntoCell(1, 9, "55");
    EXPECT_EQ(CellText(1, 9), "55");
    EXPECT_NE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(O2TargetGridTest, ATargetCellHintsAtItsValueAndHeadersHideTheHint) {
    const QString point = QLocale::system().decimalPoint();
    form.O2Grid()->SetCell(2, 2, "147");
    form.O2Grid()->SetCell(3, 3, "30");
    form.O2Grid()->SetCell(0, 3, "40");
    const struct {
        int sensorType;
        int column, row;
        QString hint;
    } steps[] = {
        {1, 2, 2, "14" + point + "7 AFR"}, // an AFR sensor: tenths of a ratio
        {1, 0, 3, ""},                     // throttle header: no hint
        {1, 5, 5, "14" + point + "7 AFR"}, // an empty cell is not a number: the hint stays
        {0, 3, 3, "0" + point + "59 V"},   // a voltage sensor
        {0, 4, 10, ""},                    // speed header
        {2, 0, 10, ""},                    // corner
        {3, 3, 3, "3 AFR"},
    };
    for (const auto& step : steps) {
        Find<QComboBox>(&form, "ComboBoxO2")->setCurrentIndex(step.sensorType);
        ClickCell(step.column, step.row);
        EXPECT_EQ(grid->toolTip(), step.hint) << step.column << "," << step.row;
    }
}

TEST_F(O2TargetGridTest, TheFillButtonWritesTheReferenceIntoEveryTargetAndLeavesTheHeaders) {
    SetHeaders({"100", "90"}, {"1000", "1500"});
    auto* reference = Find<QLineEdit>(&form, "MaskEditO2REF");
    auto* fill = Find<QPushButton>(&form, "ButtonFillLoadTableWithO2RefValue");
    const struct {
        const char* reference;
        const char* cells;
    } cases[] = {{"147", "147"}, {"", "0"}, {"12ab", "12"}, {"abc", "0"}, {"  30", "30"}};
    for (const auto& c : cases) {
        reference->setText(c.reference);
        QTest::mouseClick(fill, Qt::LeftButton);
        for (int row = 0; row <= 9; ++row)
            for (int column = 1; column <= 10; ++column)
                ASSERT_EQ(CellText(column, row), c.cells) << c.reference << " " << column << "," << row;
    }
    EXPECT_EQ(CellText(0, 0), "100");
    EXPECT_EQ(CellText(0, 1), "90");
    EXPECT_EQ(CellText(0, 2), "");
    EXPECT_EQ(CellText(1, 10), "1000");
    EXPECT_EQ(CellText(2, 10), "1500");
    EXPECT_EQ(CellText(0, 10), "");
}

TEST_F(O2TargetGridTest, ThrottlePercentResetsAnEmptySpanAndClampsToTheCalibration) {
    O2TargetGrid& o2 = *form.O2Grid();
    EXPECT_EQ(o2.TpsMin(), 0);
    EXPECT_EQ(o2.TpsMax(), 0);
    EXPECT_EQ(o2.TpsPercent(200), 0);
    EXPECT_EQ(o2.TpsMin(), 0);
    EXPECT_EQ(o2.TpsMax(), 255);
    EXPECT_EQ(o2.TpsPercent(255), 100);
    EXPECT_EQ(o2.TpsPercent(128), 50);

    o2.SetCalibration(20, 220);
    const std::pair<int, int> cases[] = {{10, 0},    {20, 0},   {120, 50}, {220, 100},
                                         {250, 100}, {121, 50}, {123, 52}};
    for (auto [raw, percent] : cases)
        EXPECT_EQ(o2.TpsPercent(raw), percent) << raw;
}

TEST_F(O2TargetGridTest, WithoutHeadersTheTargetIsTheTopRightCellOrTheBottomRowBelowZero) {
    form.O2Grid()->SetCell(10, 0, "150");
    form.O2Grid()->SetCell(10, 9, "160");
    form.O2Grid()->SetCalibration(50, 150);
    const struct {
        int rawTps, rpm;
        TargetGridModel::Choice choice;
    } cases[] = {{100, 3000, {10, 0, 150}}, {49, 3000, {10, 9, 160}}, {0, 0, {10, 9, 160}}};
    for (const auto& c : cases) {
        EXPECT_EQ(ShowTargetAt(c.rawTps, c.rpm), c.choice) << c.rawTps;
        EXPECT_EQ(grid->currentColumn(), c.choice.column);
        EXPECT_EQ(grid->currentRow(), c.choice.row);
    }
}

TEST_F(O2TargetGridTest, TheTargetAtAnOperatingPointIsSelectedInTheGrid) {
    SetHeaders({"100", "90", "80", "70", "60", "50", "40", "30", "20", "10"},
               {"1000", "1500", "2000", "2500", "3000", "3500", "4000", "4500", "5000", "6000"});
    auto* reference = Find<QLineEdit>(&form, "MaskEditO2REF");
    reference->setText("30");
    QTest::mouseClick(Find<QPushButton>(&form, "ButtonFillLoadTableWithO2RefValue"), Qt::LeftButton);
    TypeIntoCell(1, 1, "140");
    TypeIntoCell(5, 0, "147");
    TypeIntoCell(1, 9, "25");
    TypeIntoCell(10, 5, "99");
    Find<QComboBox>(&form, "ComboBoxO2")->setCurrentIndex(1);
    form.O2Grid()->SetCalibration(0, 200);

    const struct {
        int rawTps, rpm;
        TargetGridModel::Choice choice;
    } cases[] = {
        {190, 900, {1, 1, 140}},  // 95 %: the 90 % row; below every speed: the first column
        {200, 3000, {5, 0, 147}}, // 100 %, a speed equal to its header
        {10, 999, {1, 9, 25}},    // 5 %: below every throttle header
        {230, 3499, {5, 0, 147}}, // not clamped: 115 % still finds the top row
        {100, 9000, {10, 5, 99}}, // 50 %, above every speed
        {101, 2999, {4, 5, 30}},  // 50.5 % rounds to 50 (to even)
        {-20, 1500, {2, 9, 30}},  // below the calibration: no header is low enough
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShowTargetAt(c.rawTps, c.rpm), c.choice) << c.rawTps << " " << c.rpm;
        EXPECT_EQ(grid->currentColumn(), c.choice.column);
        EXPECT_EQ(grid->currentRow(), c.choice.row);
    }
    // Selecting the cell in use also hints at what its target means.
    ShowTargetAt(200, 3000);
    EXPECT_EQ(grid->toolTip(), "14" + QLocale::system().decimalPoint() + "7 AFR");
}

} // namespace
