#include "o2_target_grid.h"

#include "system_locale.h"

#include <QPainter>
#include <QTableWidget>

namespace {

const QColor kCornerColour(0x80, 0x80, 0x80);

} // namespace

O2TargetGrid::O2TargetGrid(QObject* owner) : QObject(owner) {}

void O2TargetGrid::Bind(QTableWidget* boundGrid) {
    grid = boundGrid;
    editTriggers = grid->editTriggers();
    ShowAllCells();
    connect(grid, &QTableWidget::itemChanged, this, &O2TargetGrid::TakeTypedCell);
}

void O2TargetGrid::TakeTypedCell(QTableWidgetItem* item) {
    if (!showing)
        model.SetCell(item->column(), item->row(), item->text().toStdString());
}

void O2TargetGrid::ShowCell(int column, int row) {
    if (!grid)
        return;
    const QString text = QString::fromStdString(model.Cell(column, row));
    showing = true;
    if (QTableWidgetItem* item = grid->item(row, column))
        item->setText(text);
    else
        grid->setItem(row, column, new QTableWidgetItem(text));
    showing = false;
}

void O2TargetGrid::SetCell(int column, int row, const std::string& text) {
    model.SetCell(column, row, text);
    ShowCell(column, row);
}

void O2TargetGrid::ShowAllCells() {
    for (int row = 0; row < TargetGridModel::kSize; ++row) {
        for (int column = 0; column < TargetGridModel::kSize; ++column)
            ShowCell(column, row);
    }
}

void O2TargetGrid::LoadFrom(const SettingsRead& read) {
    model.LoadFrom(read);
    ShowAllCells();
}

void O2TargetGrid::FillTargets(int value) {
    model.FillTargets(value);
    ShowAllCells();
}

void O2TargetGrid::ShowTarget(const TargetGridModel::Choice& choice) {
    if (!grid)
        return;
    grid->setCurrentCell(choice.row, choice.column);
    grid->viewport()->update();
}

void O2TargetGrid::SetHeaderColours(const QColor& throttle, const QColor& speed) {
    throttleColour = throttle;
    speedColour = speed;
    if (grid)
        grid->viewport()->update();
}

void O2TargetGrid::DrawCell(QPainter& canvas, int column, int row, const QRect& rect) const {
    using Kind = TargetGridModel::CellKind;
    const Kind kind = TargetGridModel::KindOf(column, row);
    if (kind == Kind::Target || !grid)
        return;
    // Widened to the left so the fill also covers the grid line before the cell.
    const QRect widened = rect.adjusted(-4, 0, 0, 0);
    canvas.fillRect(widened, kind == Kind::ThrottleHeader ? throttleColour
                             : kind == Kind::SpeedHeader  ? speedColour
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
    if (!grid)
        return;
    const TargetGridModel::Selection selection =
        TargetGridModel::SelectCell(column, row, Cell(column, row), sensorType, DecimalSeparator());
    grid->setEditTriggers(selection.editable ? editTriggers : QAbstractItemView::NoEditTriggers);
    if (selection.hint)
        hint = QString::fromStdString(*selection.hint);
    grid->setToolTip(selection.hintShown ? hint : QString());
}
