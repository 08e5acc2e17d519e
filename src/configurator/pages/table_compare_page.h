#pragma once
// The comparison page: two table files side by side on one chart, each with its parameter boxes, and
// their open and save commands.

#include "language.h"
#include "table.h"

#include <QWidget>

#include <array>

class QCustomPlot;
class QLabel;
class QLineEdit;
class QMenuBar;
class TActions;

class TTableComparePage : public QWidget {
    Q_OBJECT
public:
    // Binds the comparison table to the page's chart and both rows of boxes.
    TTableComparePage(TActions& actions, Table& comparisonTable);

    void FileOpenCompareOpenDialogCanClose(const QString& fileName, bool& canClose);
    void FileOpenCompare2OpenDialogCanClose(const QString& fileName, bool& canClose);
    void FileSaveAsCompareSaveDialogCanClose(const QString& fileName, bool& canClose);
    void FileSaveAsCompare2SaveDialogCanClose(const QString& fileName, bool& canClose);

    // The captions it shares with the table graph page are the same as there.
    void ApplyLanguage(Language language);

private:
    // One row of boxes, in the order of the page's columns (MAF, TPS, RPM, then the enrichment
    // group, then the switch to table 2).
    using BoxRow = std::array<QLineEdit*, ParameterCount>;

    void BuildMenuBar();
    static Table::ParameterBoxes InParameterOrder(const BoxRow& row);

    TActions& actions;
    Table& comparisonTable;

    QMenuBar* ActionMainMenuBarTableCompare;
    QCustomPlot* ChartCompare;
    QLabel* Label4;
    QLabel* Label5;
    // MaskEditMaf1Compare ... MaskEditTpsThreshold1Compare, and the same for the second file.
    BoxRow row1{};
    BoxRow row2{};
    QLabel* Label1;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* LabelMafTimeCompare;
    QLabel* LabelThresholdCompare;
    QLabel* LabelEnrichmentFactor1Compare;
    QLabel* LabelEnleanmentFactorCompare;
    QLabel* LabelTpsThrhd;
    QLabel* LabelSm;
    QLabel* LabelEnrch;
};
