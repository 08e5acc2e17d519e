#include "o2_target_grid.h"

#include "system_locale.h"

#include <QPainter>
#include <QTableWidget>

namespace {

const QColor kCornerColour(0x80, 0x80, 0x80);

} // namespace

void O2TargetGrid::Bind(QTableWidget* boundGrid) {
    grid = boundGrid;
    editTriggers = grid->editTriggers();
}

TargetGridModel::Choice O2TargetGrid::TargetAt(int rawTps, int rpm) {
    const TargetGridModel::Choice choice = model.TargetAt(*this, rawTps, rpm);
    ShowTarget(choice);
    return choice;
}

void O2TargetGrid::ShowTarget(const TargetGridModel::Choice& choice) {
    grid->setCurrentCell(choice.row, choice.column);
    grid->viewport()->update();
}

void O2TargetGrid::DrawCell(QPainter& canvas, int column, int row, const QRect& rect, const QColor& tpsColour,
                            const QColor& rpmColour) const {
    using Kind = TargetGridModel::CellKind;
    const Kind kind = TargetGridModel::KindOf(column, row);
    if (kind == Kind::Target)
        return;
    // Widened to the left so the fill also covers the grid line before the cell.
    const QRect widened = rect.adjusted(-4, 0, 0, 0);
    canvas.fillRect(widened, kind == Kind::ThrottleHeader ? tpsColour
                             : kind == Kind::SpeedHeader  ? rpmColour
                                                          : kCornerColour);
    canvas.setPen(grid->palette().color(QPalette::Text));
    canvas.setFont(grid->font());
    canvas.drawText(widened.adjusted(5, 5, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                    QString::fromStdString(Cell(column, row)));
}

QString O2TargetGrid::EditMaskFor(int row) {
    const std::string_view mask = TargetGridModel::EditMaskFor(row);
    return QString::fromLatin1(mask.data(), qsizetype(mask.size()));
}

void O2TargetGrid::SelectCell(int column, int row, int sensorType) {
    const TargetGridModel::Selection selection =
        TargetGridModel::SelectCell(column, row, Cell(column, row), sensorType, DecimalSeparator());
    grid->setEditTriggers(selection.editable ? editTriggers : QAbstractItemView::NoEditTriggers);
    if (selection.hint)
        hint = QString::fromStdString(*selection.hint);
    grid->setToolTip(selection.hintShown ? hint : QString());
}

std::string O2TargetGrid::Cell(int column, int row) const {
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text().toStdString() : std::string();
}

void O2TargetGrid::SetCell(int column, int row, const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (QTableWidgetItem* item = grid->item(row, column))
        item->setText(value);
    else
        grid->setItem(row, column, new QTableWidgetItem(value));
}
