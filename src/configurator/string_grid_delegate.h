#pragma once
// The per-cell events of a string grid, which Qt has only as delegate calls: a cell is drawn (after its
// ordinary drawing, so a handler may paint over it) and an editor asks for the cell's input mask. The
// grid's own tool tip is its one hint, shown wherever the mouse rests on it.

#include <QStyledItemDelegate>

#include <functional>

class QTableWidget;

class TStringGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using DrawCellHandler = std::function<void(QPainter& canvas, int column, int row, const QRect& rect)>;
    // The mask in the form "!999;1;": each 9 stands for one digit that may be typed.
    using EditMaskHandler = std::function<QString(int column, int row)>;

    // Becomes the grid's item delegate, owned by the grid.
    TStringGridDelegate(QTableWidget* grid, DrawCellHandler drawCell, EditMaskHandler editMask);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    DrawCellHandler drawCell;
    EditMaskHandler editMask;
};
