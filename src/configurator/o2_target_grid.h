#pragma once
// The O2 target grid on the autotuning page: the grid widget's texts as the target grid's cells, the
// throttle calibration with the one conversion of a raw throttle value to percent, and what the grid
// does when a cell is drawn, edited or selected. The rules are the core's; this binds them to the
// widget.

#include "target_grid_cells.h"
#include "target_grid_model.h"

#include <QAbstractItemView>
#include <QString>

class QColor;
class QPainter;
class QRect;
class QTableWidget;

class O2TargetGrid : public TargetGridCells {
public:
    // Once, before any other use. The grid is not owned.
    void Bind(QTableWidget* grid);

    int TpsMin() const { return model.TpsMin(); }
    int TpsMax() const { return model.TpsMax(); }
    void SetCalibration(int min, int max) { model.SetCalibration(min, max); }
    int TpsPercent(int rawTps) { return model.TpsPercent(rawTps); }
    // The target in use at this operating point; the grid selects its cell, so the user sees it.
    TargetGridModel::Choice TargetAt(int rawTps, int rpm);
    // Selects the cell of a target in use, so the user sees it.
    void ShowTarget(const TargetGridModel::Choice& choice);
    TargetGridModel& Model() { return model; }

    void FillTargets(int value) { TargetGridModel::FillTargets(*this, value); }
    // Paints a header cell over its ordinary drawing: throttle headers in tpsColour, speed headers in
    // rpmColour, the corner grey. Target cells keep the ordinary drawing.
    void DrawCell(QPainter& canvas, int column, int row, const QRect& rect, const QColor& tpsColour,
                  const QColor& rpmColour) const;
    static QString EditMaskFor(int row);
    // The corner cannot be edited; a target cell's hint tells what its value means for sensorType.
    void SelectCell(int column, int row, int sensorType);

    std::string Cell(int column, int row) const override;
    void SetCell(int column, int row, const std::string& text) override;

private:
    QTableWidget* grid = nullptr;
    TargetGridModel model;
    QAbstractItemView::EditTriggers editTriggers;
    // Kept while header cells hide the hint, and shown again on the next target cell.
    QString hint;
};
