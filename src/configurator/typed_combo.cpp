#include "typed_combo.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimer>

namespace {

void SelectTypedItem(QComboBox& combo) {
    QLineEdit& edit = *combo.lineEdit();
    const int named = combo.findText(edit.text(), Qt::MatchFixedString);
    if (named == combo.currentIndex())
        return;
    // The caller runs the change handler once, whatever the typing selected.
    const QSignalBlocker blocker(combo);
    const QString text = edit.text();
    const int cursor = edit.cursorPosition();
    combo.setCurrentIndex(named);
    // Selecting nothing clears the text; the user's typing must stay as it was.
    if (named < 0) {
        combo.setEditText(text);
        edit.setCursorPosition(cursor);
    }
}

} // namespace

void BindTypedSelection(QComboBox& combo, QObject* context, std::function<void()> change) {
    QObject::connect(&combo, &QComboBox::currentIndexChanged, context, [change] { change(); });
    // After the typing has been completed inline to the item it starts.
    QObject::connect(combo.lineEdit(), &QLineEdit::textEdited, context, [&combo, context, change] {
        QTimer::singleShot(0, context, [&combo, change] {
            SelectTypedItem(combo);
            change();
        });
    });
}
