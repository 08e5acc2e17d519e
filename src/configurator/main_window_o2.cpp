// The O2 sensor on the autotuning page: the sensor type and its reference value, the target grid, and
// the number boxes that take digits only and start empty when entered.

#include "main_window.h"

#include "bar_gauge.h"
#include "digit_filter.h"
#include "edit_events.h"
#include "message_box.h"
#include "numbers.h"
#include "oxygen_sensor.h"
#include "path_text.h"
#include "string_grid_delegate.h"
#include "system_locale.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTimer>

namespace {

// The sensor type follows the text typed into the selector: the item the text (completed inline) is,
// or nothing when it is none. Qt would keep the previous item selected instead.
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

// A key the filters refuse is dropped, and the user told why.
void RefuseKey(char32_t& key, QWidget* window) {
    key = 0;
    ShowMessage(FromUtf8(kNotDigitMessage), window);
}

} // namespace

void TForm1::BindO2TargetGrid() {
    O2Grid = std::make_unique<O2TargetGrid>();
    O2Grid->Bind(StringGridO2Table);
    new TStringGridDelegate(
        StringGridO2Table,
        [this](QPainter& canvas, int column, int row, const QRect& rect) {
            StringGridO2TableDrawCell(canvas, column, row, rect);
        },
        [this](int column, int row) { return StringGridO2TableGetEditMask(column, row); });
    connect(StringGridO2Table, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        // A grid without a current cell (cleared) selects nothing.
        if (row >= 0 && column >= 0)
            StringGridO2TableSelectCell(column, row);
    });
    connect(ButtonFillLoadTableWithO2RefValue, &QPushButton::clicked, this,
            &TForm1::ButtonFillLoadTableWithO2RefValueClick);

    connect(ComboBoxO2, &QComboBox::currentIndexChanged, this, &TForm1::ComboBoxO2Change);
    // After the typing has been completed inline to the item it starts.
    connect(ComboBoxO2->lineEdit(), &QLineEdit::textEdited, this, [this] {
        QTimer::singleShot(0, this, [this] {
            SelectTypedItem(*ComboBoxO2);
            ComboBoxO2Change();
        });
    });

    auto* reference = new TEditEvents(MaskEditO2REF);
    reference->OnEnter = [this] { MaskEditDeltaEnter(MaskEditO2REF); };
    reference->OnMouseEnter = [this] { MaskEditO2REFMouseEnter(); };
    reference->OnKeyPress = [this](char32_t& key) { MaskEditO2REFKeyPress(key); };
    for (QLineEdit* edit :
         {MaskEditDelta, MaskEditForcedIdleRpm, MaskEditForcedIdleTps, MaskEditFast, MaskEditFine}) {
        auto* events = new TEditEvents(edit);
        events->OnEnter = [this, edit] { MaskEditDeltaEnter(edit); };
        events->OnKeyPress = [this](char32_t& key) { MaskEditDeltaKeyPress(key); };
    }
}

void TForm1::ComboBoxO2Change() {
    MaskEditO2REF->setText(FromUtf8(DefaultO2Reference(ComboBoxO2->currentIndex())));
}

void TForm1::MaskEditO2REFMouseEnter() {
    const std::optional<std::string> hint =
        O2ReferenceHint(MaskEditO2REF->text().toStdString(), ComboBoxO2->currentIndex(), DecimalSeparator());
    if (hint)
        MaskEditO2REF->setToolTip(QString::fromStdString(*hint));
}

QString TForm1::StringGridO2TableGetEditMask(int, int row) {
    return O2TargetGrid::EditMaskFor(row);
}

void TForm1::StringGridO2TableDrawCell(QPainter& canvas, int column, int row, const QRect& rect) {
    O2Grid->DrawCell(canvas, column, row, rect, GaugeTps->ForeColor(), GaugeRpm->ForeColor());
}

void TForm1::StringGridO2TableSelectCell(int column, int row) {
    O2Grid->SelectCell(column, row, ComboBoxO2->currentIndex());
}

void TForm1::ButtonFillLoadTableWithO2RefValueClick() {
    O2Grid->FillTargets(leadingInteger(MaskEditO2REF->text().toStdString()));
}

void TForm1::MaskEditO2REFKeyPress(char32_t& key) {
    if (!O2ReferenceKeyAccepted(key))
        RefuseKey(key, this);
}

void TForm1::MaskEditDeltaEnter(QLineEdit* sender) {
    sender->clear();
}

void TForm1::MaskEditDeltaKeyPress(char32_t& key) {
    if (!DigitKeyAccepted(key))
        RefuseKey(key, this);
}
