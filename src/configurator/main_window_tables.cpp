// The main window's side of the table pages: creating both table objects, the file dialogs, copies,
// the 1:1 table and the flags both tables share.

#include "main_window.h"

#include "file_action.h"
#include "log.h"
#include "path_text.h"
#include "tab_file.h"
#include "table.h"

#include <QDateTime>
#include <QLocale>
#include <QRadioButton>
#include <qcustomplot.h>

namespace {

// The system's "hot-track" colour of the fifth comparison curve.
const QColor HotTrackColour("#0066CC");

} // namespace

void TForm1::CreateWorkingTable() {
    workingTable = new Table(this);
    workingTable->SetupTableChart(
        ChartTableGraph, true, {"Tab1", QColor("#FF0000")}, {"Tab2", QColor("#0000FF")},
        {MaskEditMafTime, MaskEditTreshold, MaskEditEnrichmentFactor, MaskEditEnleanmentFactor,
         MaskEditSmoothMaf, MaskEditTps, MaskEditRpm, MaskEditTpsThreshold});
    workingTable->SetupDashboard(ChartDashboard);
}

void TForm1::CreateComparisonTable() {
    comparisonTable = new Table(this);
    comparisonTable->SetupTableChart(
        ChartCompare, false, {"Tab 1.1", QColor("#FF0000")}, {"Tab 1.2", QColor("#0000FF")},
        {MaskEditMafTime1Compare, MaskEditTreshold1Compare, MaskEditEnrichmentFactor1Compare,
         MaskEditEnleanmentFactor1Compare, MaskEditMaf1Compare, MaskEditTps1Compare, MaskEditRpm1Compare,
         MaskEditTpsThreshold1Compare});
    comparisonTable->SetupSecondSet({"Tab 2.1", QColor("#800000")}, {"Tab 2.2", HotTrackColour},
                                    {MaskEditMafTime2Compare, MaskEditTreshold2Compare,
                                     MaskEditEnrichmentFactor2Compare, MaskEditEnleanmentFactor2Compare,
                                     MaskEditMaf2Compare, MaskEditTps2Compare, MaskEditRpm2Compare,
                                     MaskEditTpsThreshold2Compare});
}

void TForm1::ConnectTableHandlers() {
    connect(TabFileOpen, &TFileAction::Accept, this, &TForm1::TabFileOpenOpenDialogCanClose);
    connect(TabFileSave, &TFileAction::Accept, this, &TForm1::TabFileSaveSaveDialogCanClose);
    connect(TabFileSave, &TFileAction::BeforeExecute, this, &TForm1::TabFileSaveBeforeExecute);
    connect(FileOpenCompare, &TFileAction::Accept, this, &TForm1::FileOpenCompareOpenDialogCanClose);
    connect(FileOpenCompare2, &TFileAction::Accept, this, &TForm1::FileOpenCompare2OpenDialogCanClose);
    connect(FileSaveAsCompare, &TFileAction::Accept, this, &TForm1::FileSaveAsCompareSaveDialogCanClose);
    connect(FileSaveAsCompare2, &TFileAction::Accept, this, &TForm1::FileSaveAsCompare2SaveDialogCanClose);
    connect(ActionTableOneToOne, &QAction::triggered, this, &TForm1::ActionTableOneToOneExecute);
    connect(ActionCopyOneToTwo, &QAction::triggered, this, &TForm1::ActionCopyOneToTwoExecute);
    connect(ActionCopyTwoToOne, &QAction::triggered, this, &TForm1::ActionCopyTwoToOneExecute);
    for (QRadioButton* radio : {RadioButtonVRise, RadioButtonVFall})
        connect(radio, &QRadioButton::clicked, this, &TForm1::RadioButtonVRiseClick);
    for (QRadioButton* radio : {RadioButtonIntEndsOn, RadioButtonIntEndsOff})
        connect(radio, &QRadioButton::clicked, this, &TForm1::RadioButtonIntEndsOnClick);
}

void TForm1::TabFileOpenOpenDialogCanClose(const QString& fileName, bool&) {
    workingTable->LoadTabFile(1, fileName);
}

void TForm1::TabFileSaveSaveDialogCanClose(const QString& fileName, bool&) {
    workingTable->SaveTabFile(1, fileName);
}

void TForm1::TabFileSaveBeforeExecute() {
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    const QString stamp =
        locale.toString(now.date(), QLocale::ShortFormat) + " " + now.time().toString("hh:mm:ss");
    TabFileSave->FileName = FromUtf8(defaultTabFileName(stamp.toStdString()));
}

void TForm1::FileOpenCompareOpenDialogCanClose(const QString& fileName, bool&) {
    comparisonTable->LoadTabFile(1, fileName);
}

void TForm1::FileOpenCompare2OpenDialogCanClose(const QString& fileName, bool&) {
    comparisonTable->LoadTabFile(2, fileName);
}

void TForm1::FileSaveAsCompareSaveDialogCanClose(const QString& fileName, bool&) {
    comparisonTable->SaveTabFile(1, fileName);
}

void TForm1::FileSaveAsCompare2SaveDialogCanClose(const QString& fileName, bool&) {
    comparisonTable->SaveTabFile(2, fileName);
}

void TForm1::ActionTableOneToOneExecute() {
    workingTable->ReplaceWithIdentity();
}

void TForm1::ActionCopyOneToTwoExecute() {
    workingTable->CopyRegion(CopyMode::Tab1ToTab2, 1, 1);
}

void TForm1::ActionCopyTwoToOneExecute() {
    workingTable->CopyRegion(CopyMode::Tab2ToTab1, 1, 1);
}

void TForm1::TabSheetTableGraphShow() {
    workingTable->Redraw();
}

void TForm1::RadioButtonVRiseClick() {
    const bool falling = RadioButtonVFall->isChecked();
    workingTable->SetInvert(falling);
    comparisonTable->SetInvert(falling);
    log->Options.OutputInverted = falling;
}

void TForm1::RadioButtonIntEndsOnClick() {
    const bool on = RadioButtonIntEndsOn->isChecked();
    workingTable->SetEndsInterpolation(on);
    comparisonTable->SetEndsInterpolation(on);
}
