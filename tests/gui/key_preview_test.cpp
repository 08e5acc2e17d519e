// The window sees keys before its focused control: Enter is consumed, Ctrl+Z passes on to the control.

#include "gui_test_support.h"
#include "key_preview.h"
#include "main_window.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

TEST(KeyPreview, EnterIsConsumedBeforeTheFocusedEditSeesIt) {
    TForm1 form;
    auto* edit = Find<QLineEdit>(&form, "MaskEditO2REF");
    ASSERT_TRUE(edit);
    QSignalSpy returned(edit, &QLineEdit::returnPressed);
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Enter);
    EXPECT_EQ(returned.count(), 0);
}

TEST(KeyPreview, CtrlZStillReachesTheFocusedEdit) {
    TForm1 form;
    // A box of the comparison table: the working table's undo leaves it alone.
    auto* edit = Find<QLineEdit>(&form, "MaskEditMaf1Compare");
    ASSERT_TRUE(edit);
    edit->clear();
    QTest::keyClicks(edit, "5");
    ASSERT_EQ(edit->text(), "5");
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "");
}

TEST(KeyPreview, KeyIgnoredByItsReceiverIsHandledOnceAndOnlyForItsWindow) {
    QWidget window;
    auto* button = new QPushButton("button");
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(button);
    int downs = 0, ups = 0;
    new TKeyPreview(
        &window, [&](QKeyEvent& key) { return downs += key.key() == Qt::Key_Z, false; },
        [&](QKeyEvent& key) { return ups += key.key() == Qt::Key_Z, false; });

    // A button ignores Ctrl+Z, so Qt offers it to the parent as well: still one key for the window.
    QTest::keyClick(button, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 1);

    QWidget other;
    QTest::keyClick(&other, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(downs, 1) << "keys of other windows are not the window's";
}

} // namespace
