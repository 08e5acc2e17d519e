// The O2 reference and the number boxes of the autotuning options, driven with the mouse and keys:
// the sensor type sets the reference, the reference hints at its meaning when the mouse enters it,
// the boxes take digits only and start empty when entered.

#include "autotuning_setup_page.h"
#include "digit_boxes.h"
#include "gui_test_support.h"
#include "main_window.h"
#include "message_box_recorder.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QTabWidget>
#include <QTest>

namespace {

const QString kNotDigit = "Ай-ай-ай, это не циферка! This is not digit!!!";

class O2ReferenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        reference = Find<QLineEdit>(&form, "MaskEditO2REF");
        sensor = Find<QComboBox>(&form, "ComboBoxO2");
        ASSERT_TRUE(reference && sensor);
        ShowPage(Find<QWidget>(&form, "SetupTabSheet"));
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    void ShowPage(QWidget* page) {
        Find<QTabWidget>(&form, "MainPageControl")->setCurrentWidget(page);
        Find<QTabWidget>(&form, "PageControl1")
            ->setCurrentWidget(Find<QWidget>(&form, "TabSheetAutotuningSetup"));
    }

    void MouseEnters(QWidget* widget) {
        QTest::mouseMove(&form, QPoint(1, 1));
        QTest::mouseMove(widget, widget->rect().center());
    }

    TForm1 form;
    QLineEdit* reference = nullptr;
    QComboBox* sensor = nullptr;
};

TEST_F(O2ReferenceTest, ChoosingASensorTypeSetsItsDefaultReference) {
    // No item is selected at first; each Down arrow selects the next item.
    ASSERT_EQ(sensor->currentIndex(), -1);
    const char* const references[] = {"30", "147", "30", "147", "30"};
    for (int index = 0; index < 5; ++index) {
        reference->setText("99");
        QTest::keyClick(sensor, Qt::Key_Down);
        ASSERT_EQ(sensor->currentIndex(), index);
        EXPECT_EQ(reference->text(), references[index]) << index;
    }
}

TEST_F(O2ReferenceTest, TypedSensorTextSelectsTheItemItCompletesToOrNothing) {
    const struct {
        const char* typed;
        int index;
        const char* reference;
    } cases[] = {{"A", 3, "147"},   {"0-5", 2, "30"}, {"inn", 1, "147"},
                 {"0-9", -1, "30"}, {"I", 1, "147"},  {"I", 1, "147"}};
    QTest::mouseClick(sensor->lineEdit(), Qt::LeftButton);
    for (const auto& c : cases) {
        sensor->lineEdit()->selectAll();
        reference->setText("99");
        QTest::keyClicks(sensor->lineEdit(), c.typed);
        QCoreApplication::processEvents();
        EXPECT_EQ(sensor->currentIndex(), c.index) << c.typed;
        EXPECT_EQ(reference->text(), c.reference) << c.typed;
    }
    // Text that selects nothing stays as typed.
    sensor->lineEdit()->selectAll();
    QTest::keyClicks(sensor->lineEdit(), "x1");
    QCoreApplication::processEvents();
    EXPECT_EQ(sensor->currentIndex(), -1);
    EXPECT_EQ(sensor->currentText(), "x1");
}

TEST_F(O2ReferenceTest, TheMouseEnteringTheReferenceShowsWhatItMeansForTheSensor) {
    const QString point = QLocale::system().decimalPoint();
    EXPECT_EQ(reference->toolTip(), "Hello");
    const struct {
        int sensorType;
        const char* reference;
        QString hint;
    } cases[] = {{3, "147", "14" + point + "7 AFR"},
                 {-1, "30", "0" + point + "59 V"},
                 {1, "", "0" + point + "59 V"}, // not a number: the hint stays
                 {1, "150", "15 AFR"},
                 {2, "255", "5 V"},
                 {0, "abc", "5 V"}};
    for (const auto& c : cases) {
        sensor->setCurrentIndex(c.sensorType);
        reference->setText(c.reference);
        MouseEnters(reference);
        EXPECT_EQ(reference->toolTip(), c.hint) << c.reference;
    }
}

TEST_F(O2ReferenceTest, NumberBoxesRefuseEveryKeyButDigitsWithTheMessage) {
    const char* const boxes[] = {"MaskEditO2REF", "MaskEditFast", "MaskEditFine", "MaskEditForcedIdleRpm",
                                 "MaskEditForcedIdleTps"};
    const struct {
        Qt::Key key;
        char character;
        bool accepted;
    } keys[] = {{Qt::Key_7, '7', true},           {Qt::Key_0, '0', true},         {Qt::Key_A, 'a', false},
                {Qt::Key_Minus, '-', false},      {Qt::Key_Period, '.', false},   {Qt::Key_Space, ' ', false},
                {Qt::Key_Backspace, '\b', false}, {Qt::Key_Escape, '\x1b', false}};
    for (const char* name : boxes) {
        auto* box = Find<QLineEdit>(&form, name);
        for (const auto& k : keys) {
            MessageBoxRecorder answerer;
            box->setText("12");
            // Space is the window's marker key: it never reaches the box.
            if (k.key == Qt::Key_Space)
                continue;
            QTest::keyClick(box, k.key, {}, -1);
            const QString expected = k.accepted ? "12" + QString(QChar(k.character)) : "12";
            EXPECT_EQ(box->text(), expected) << name << " " << int(k.character);
            EXPECT_EQ(answerer.Texts(), k.accepted ? QStringList() : QStringList{kNotDigit})
                << name << " " << int(k.character);
        }
    }
}

TEST_F(O2ReferenceTest, TheKeyHandlersDropRefusedKeysAndTheReferenceLetsEnterPass) {
    const struct {
        char32_t key;
        bool digitPasses;
        bool referencePasses;
    } cases[] = {{U'0', true, true}, {U'9', true, true}, {U'/', false, false}, {U':', false, false},
                 {13, false, true},  {8, false, false},  {U'٣', false, false}, {U'x', false, false}};
    for (const auto& c : cases) {
        MessageBoxRecorder answerer;
        char32_t digitKey = c.key;
        MaskEditDeltaKeyPress(digitKey, &form);
        EXPECT_EQ(digitKey, c.digitPasses ? c.key : 0) << int(c.key);
        char32_t referenceKey = c.key;
        form.SetupPage()->MaskEditO2REFKeyPress(referenceKey);
        EXPECT_EQ(referenceKey, c.referencePasses ? c.key : 0) << int(c.key);
        EXPECT_EQ(answerer.Texts().size(), int(!c.digitPasses) + int(!c.referencePasses)) << int(c.key);
    }
    // Enter typed into the reference box passes without a message.
    MessageBoxRecorder answerer;
    reference->setText("30");
    QTest::keyClick(reference, Qt::Key_Return);
    EXPECT_EQ(reference->text(), "30");
    EXPECT_TRUE(answerer.Texts().isEmpty());
}

TEST_F(O2ReferenceTest, EnteringANumberBoxEmptiesIt) {
    const struct {
        QWidget* page;
        const char* name;
    } boxes[] = {{Find<QWidget>(&form, "SetupTabSheet"), "MaskEditO2REF"},
                 {Find<QWidget>(&form, "SetupTabSheet"), "MaskEditFast"},
                 {Find<QWidget>(&form, "SetupTabSheet"), "MaskEditFine"},
                 {Find<QWidget>(&form, "SetupTabSheet"), "MaskEditForcedIdleRpm"},
                 {Find<QWidget>(&form, "SetupTabSheet"), "MaskEditForcedIdleTps"},
                 {Find<QWidget>(&form, "DashboardTabSheet"), "MaskEditDelta"}};
    for (const auto& b : boxes) {
        ShowPage(b.page);
        auto* box = Find<QLineEdit>(&form, b.name);
        ASSERT_FALSE(box->text().isEmpty()) << b.name;
        QTest::mouseClick(box, Qt::LeftButton);
        ASSERT_TRUE(box->hasFocus()) << b.name;
        EXPECT_EQ(box->text(), "") << b.name;
    }
    // Leaving and entering again by the keyboard empties it again.
    ShowPage(Find<QWidget>(&form, "SetupTabSheet"));
    auto* fast = Find<QLineEdit>(&form, "MaskEditFast");
    fast->setText("2");
    fast->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(fast->text(), "");
}

TEST_F(O2ReferenceTest, TheFocusComingBackAfterTheMessageKeepsWhatWasTyped) {
    auto* fast = Find<QLineEdit>(&form, "MaskEditFast");
    QTest::mouseClick(fast, Qt::LeftButton);
    ASSERT_TRUE(fast->hasFocus());
    MessageBoxRecorder answerer;
    QTest::keyClicks(fast, "12x3");
    EXPECT_EQ(answerer.Texts(), QStringList{kNotDigit});
    EXPECT_EQ(fast->text(), "123");
}

} // namespace
