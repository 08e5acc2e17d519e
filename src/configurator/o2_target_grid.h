#pragma once
// The O2 target grid of the autotuning page: the target grid model with its cells and the throttle
// calibration, shown in the grid widget. The cells live in the model; the widget shows them, and what
// the user types into it goes into the model. Also what the grid does when a cell is drawn, edited or
// selected. The rules are the core's; this binds them to the widget.

#include "target_grid_model.h"

#include <QAbstractItemView>
#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>

class QPainter;
class QRect;
class QTableWidget;
class QTableWidgetItem;

class O2TargetGrid : public QObject {
    Q_OBJECT
public:
    explicit O2TargetGrid(QObject* owner);

    // Once: the widget that shows the grid from now on (not owned). It is filled from the model.
    void Bind(QTableWidget* grid);

    int TpsMin() const { return model.TpsMin(); }
    int TpsMax() const { return model.TpsMax(); }
    void SetCalibration(int min, int max) { model.SetCalibration(min, max); }
    int TpsPercent(int rawTps) { return model.TpsPercent(rawTps); }
    // Selects the cell of a target in use, so the user sees it.
    void ShowTarget(const TargetGridModel::Choice& choice);
    TargetGridModel& Model() { return model; }

    void FillTargets(int value);
    // The calibration and the cells the settings file holds; the widget shows them.
    void LoadFrom(const SettingsRead& read);
    // The headers' colours: those of the dashboard's throttle and engine speed gauges.
    void SetHeaderColours(const QColor& throttle, const QColor& speed);
    // Paints a header cell over its ordinary drawing: throttle and speed headers in their colours, the
    // corner grey. Target cells keep the ordinary drawing.
    void DrawCell(QPainter& canvas, int column, int row, const QRect& rect) const;
    static QString EditMaskFor(int row);
    // The corner cannot be edited; a target cell's hint tells what its value means for sensorType.
    void SelectCell(int column, int row, int sensorType);

    std::string Cell(int column, int row) const { return model.Cell(column, row); }
    void SetCell(int column, int row, const std::string& text);

private:
    void ShowCell(int column, int row);
    void ShowAllCells();
    void TakeTypedCell(QTableWidgetItem* item);

    TargetGridModel model;
    QPointer<QTableWidget> grid;
    QAbstractItemView::EditTriggers editTriggers;
    // Kept while header cells hide the hint, and shown again on the next target cell.
    QString hint;
    QColor throttleColour;
    QColor speedColour;
    // Set while the widget is filled from the model, whose change that is not.
    bool showing = false;
};
