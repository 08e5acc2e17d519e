#pragma once
// The table graph page: the working table's chart and its eight parameter boxes, the table files,
// the 1:1 table, the copies, and reading and writing the converter.

#include "language.h"

#include <QWidget>

class QCustomPlot;
class QLabel;
class QLineEdit;
class QMenuBar;
class TActions;
class Table;

class TTableGraphPage : public QWidget {
    Q_OBJECT
public:
    // Binds the working table to the page's chart and boxes.
    TTableGraphPage(TActions& actions, Table& workingTable);

    void TabFileOpenOpenDialogCanClose(const QString& fileName, bool& canClose);
    void TabFileSaveSaveDialogCanClose(const QString& fileName, bool& canClose);
    void TabFileSaveBeforeExecute();
    void ActionNullTableExecute() {}
    void ActionTableOneToOneExecute();
    void ActionCopyOneToTwoExecute();
    void ActionCopyTwoToOneExecute();
    void ActionReadCoverterExecute();
    void ActionWriteConverterExecute();
    void TabSheetTableGraphShow();

    void ApplyLanguage(Language language);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildMenuBar();
    void ConnectHandlers();

    TActions& actions;
    Table& workingTable;

    QMenuBar* ActionMainMenuBarTableGraph;
    QCustomPlot* ChartTableGraph;
    QLineEdit* MaskEditSmoothMaf;
    QLineEdit* MaskEditTps;
    QLineEdit* MaskEditRpm;
    QLineEdit* MaskEditMafTime;
    QLineEdit* MaskEditTreshold;
    QLineEdit* MaskEditEnrichmentFactor;
    QLineEdit* MaskEditEnleanmentFactor;
    QLineEdit* MaskEditTpsThreshold;
    QLabel* LabelMaf;
    QLabel* LabelTps;
    QLabel* LabelRpm;
    QLabel* LabelSmooth;
    QLabel* LabelMafTime;
    QLabel* LabelThreshold;
    QLabel* LabelEnrichmentFactor;
    QLabel* LabelEnleanmentFactor;
    QLabel* LabelEnrichment;
    QLabel* LabelTpsThrhdValue;
    QLabel* LabelTpsThreshold;
};
