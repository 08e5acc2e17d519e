#include "string_grid_delegate.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QToolTip>

namespace {

// The digits a mask lets the user type: its 9s, before the first ';'.
int DigitsOfMask(const QString& mask) {
    return int(mask.section(';', 0, 0).count('9'));
}

// Up to the mask's number of digits and nothing else, so the cell keeps exactly the digits typed
// (no padding, no blanks).
void ApplyMask(QLineEdit& editor, const QString& mask) {
    const int digits = DigitsOfMask(mask);
    editor.setMaxLength(digits);
    editor.setValidator(
        new QRegularExpressionValidator(QRegularExpression(QString("[0-9]{0,%1}").arg(digits)), &editor));
}

} // namespace

TStringGridDelegate::TStringGridDelegate(QTableWidget* grid, DrawCellHandler drawCell,
                                         EditMaskHandler editMask)
    : QStyledItemDelegate(grid), drawCell(std::move(drawCell)), editMask(std::move(editMask)) {
    grid->setItemDelegate(this);
}

void TStringGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    if (!drawCell)
        return;
    painter->save();
    drawCell(*painter, index.column(), index.row(), option.rect);
    painter->restore();
}

QWidget* TStringGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                           const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor); line && editMask)
        ApplyMask(*line, editMask(index.column(), index.row()));
    return editor;
}

bool TStringGridDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                    const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    if (view->toolTip().isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPos(), view->toolTip(), view);
    return true;
}
