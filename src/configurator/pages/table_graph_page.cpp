#include "table_graph_page.h"

#include "actions.h"
#include "control_factory.h"
#include "default_file_name.h"
#include "file_action.h"
#include "menu_items.h"
#include "page_layouts.h"
#include "path_text.h"
#include "tab_file.h"
#include "table.h"

#include <QGridLayout>
#include <QMenuBar>
#include <qcustomplot.h>

TTableGraphPage::TTableGraphPage(TActions& actions, Table& workingTable)
    : actions(actions), workingTable(workingTable) {
    setObjectName("TabSheetTableGraph");
    ActionMainMenuBarTableGraph = Named<QMenuBar>("ActionMainMenuBarTableGraph");
    ChartTableGraph = Named<QCustomPlot>("ChartTableGraph");

    MaskEditSmoothMaf = ParameterEdit("MaskEditSmoothMaf", "100");
    MaskEditTps = ParameterEdit("MaskEditTps", "100");
    MaskEditRpm = ParameterEdit("MaskEditRpm", "100");
    MaskEditMafTime = ParameterEdit("MaskEditMafTime", "4");
    MaskEditTreshold = ParameterEdit("MaskEditTreshold", "5");
    MaskEditEnrichmentFactor = ParameterEdit("MaskEditEnrichmentFactor", "0", true);
    MaskEditEnleanmentFactor = ParameterEdit("MaskEditEnleanmentFactor", "50");
    MaskEditTpsThreshold = ParameterEdit("MaskEditTpsThreshold", "255");

    LabelSmooth = NamedLabel("LabelSmooth", "Сглаживание", true);
    LabelMaf = NamedLabel("LabelMaf", "MAF");
    LabelTps = NamedLabel("LabelTps", "TPS");
    LabelRpm = NamedLabel("LabelRpm", "RPM");
    LabelEnrichment = NamedLabel("LabelEnrichment", "Обогащение УН", true);
    LabelMafTime = NamedLabel("LabelMafTime", "Выборка MAF 1/100сек *");
    LabelThreshold = NamedLabel("LabelThreshold", "Порог срабатывания");
    LabelEnrichmentFactor = NamedLabel("LabelEnrichmentFactor", "Обогащение+%");
    LabelEnleanmentFactor = NamedLabel("LabelEnleanmentFactor", "Спад обогащения-%");
    LabelTpsThreshold = NamedLabel("LabelTpsThreshold", "Переход на таб.№2", true);
    LabelTpsThrhdValue = NamedLabel("LabelTpsThrhdValue", "при значении TPS>");

    // Three groups side by side: each field with its label beside it, the group caption above.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    grid->addWidget(LabelSmooth, 0, 0, 1, 2);
    const std::pair<QLineEdit*, QLabel*> smoothing[] = {
        {MaskEditSmoothMaf, LabelMaf}, {MaskEditTps, LabelTps}, {MaskEditRpm, LabelRpm}};
    for (int row = 0; row < 3; ++row) {
        grid->addWidget(smoothing[row].first, row + 1, 0);
        grid->addWidget(smoothing[row].second, row + 1, 1);
    }
    grid->addWidget(LabelEnrichment, 0, 3, 1, 2);
    const std::pair<QLineEdit*, QLabel*> enrichment[] = {{MaskEditMafTime, LabelMafTime},
                                                         {MaskEditTreshold, LabelThreshold},
                                                         {MaskEditEnrichmentFactor, LabelEnrichmentFactor},
                                                         {MaskEditEnleanmentFactor, LabelEnleanmentFactor}};
    for (int row = 0; row < 4; ++row) {
        grid->addWidget(enrichment[row].first, row + 1, 3);
        grid->addWidget(enrichment[row].second, row + 1, 4);
    }
    grid->addWidget(LabelTpsThreshold, 0, 6, 1, 2);
    grid->addWidget(MaskEditTpsThreshold, 1, 6);
    grid->addWidget(LabelTpsThrhdValue, 1, 7);
    grid->setColumnMinimumWidth(2, 20);
    grid->setColumnMinimumWidth(5, 20);
    grid->setColumnStretch(8, 1);
    LayTablePage(this, ActionMainMenuBarTableGraph, ChartTableGraph, grid);

    workingTable.SetupTableChart(
        ChartTableGraph, true, {"Tab1", QColor("#FF0000")}, {"Tab2", QColor("#0000FF")},
        {MaskEditMafTime, MaskEditTreshold, MaskEditEnrichmentFactor, MaskEditEnleanmentFactor,
         MaskEditSmoothMaf, MaskEditTps, MaskEditRpm, MaskEditTpsThreshold});
    BuildMenuBar();
    ConnectHandlers();
}

void TTableGraphPage::BuildMenuBar() {
    QMenuBar* bar = ActionMainMenuBarTableGraph;
    AddItem(bar, actions.TabFileOpen);
    AddItem(bar, actions.TabFileSave);
    AddItem(bar, actions.ActionNullTable, {}, true);
    AddItem(bar, actions.ActionTableOneToOne, "Замена &1:1");
    QMenu* copy = AddSubMenu(bar, "Копировать");
    AddItem(copy, actions.ActionCopyOneToTwo, "&1.1->1.2");
    AddItem(copy, actions.ActionCopyTwoToOne, "1.&2->1.1");
    AddItem(bar, actions.ActionReadCoverter);
    AddItem(bar, actions.ActionWriteConverter);
}

void TTableGraphPage::ConnectHandlers() {
    connect(actions.TabFileOpen, &TFileAction::Accept, this, &TTableGraphPage::TabFileOpenOpenDialogCanClose);
    connect(actions.TabFileSave, &TFileAction::Accept, this, &TTableGraphPage::TabFileSaveSaveDialogCanClose);
    connect(actions.TabFileSave, &TFileAction::BeforeExecute, this,
            &TTableGraphPage::TabFileSaveBeforeExecute);
    connect(actions.ActionNullTable, &QAction::triggered, this, &TTableGraphPage::ActionNullTableExecute);
    connect(actions.ActionTableOneToOne, &QAction::triggered, this,
            &TTableGraphPage::ActionTableOneToOneExecute);
    connect(actions.ActionCopyOneToTwo, &QAction::triggered, this,
            &TTableGraphPage::ActionCopyOneToTwoExecute);
    connect(actions.ActionCopyTwoToOne, &QAction::triggered, this,
            &TTableGraphPage::ActionCopyTwoToOneExecute);
    connect(actions.ActionReadCoverter, &QAction::triggered, this,
            &TTableGraphPage::ActionReadCoverterExecute);
    connect(actions.ActionWriteConverter, &QAction::triggered, this,
            &TTableGraphPage::ActionWriteConverterExecute);
}

void TTableGraphPage::ApplyLanguage(Language language) {
    SetMenuCaptions(ActionMainMenuBarTableGraph,
                    {{"Открыть", "Open"},
                     {"Сохранить", "Save"},
                     {"Обнулить", "Null"},
                     {"Замена 1:1", "1:1 Table"},
                     {"Копировать 1->2", "Copy 1->2"},
                     {"Считать из конвертера", "Read from Converter"},
                     {"Записать в конвертер", "Write to Converter"}},
                    language);
    ChartTableGraph->yAxis->setLabel(ConverterOutTitle.In(language));
    ChartTableGraph->replot();
    SetCaptions({{LabelSmooth, SmoothingCaption},
                 {LabelEnrichment, EnrichmentCaption},
                 {LabelTpsThreshold, TpsThresholdCaption},
                 {LabelTpsThrhdValue, {"при значении TPS>", "TPS>"}},
                 {LabelMafTime, {"Выборка MAF 1/100сек *", "MAF sampling 1/100sec *"}},
                 {LabelThreshold, {"Порог срабатывания", "Threshold"}},
                 {LabelEnrichmentFactor, {"Обогащение +%", "Enrichment +%"}},
                 {LabelEnleanmentFactor, {"Спад обогащения -%", "Enleanment -%"}}},
                language);
}

void TTableGraphPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    TabSheetTableGraphShow();
}

void TTableGraphPage::TabFileOpenOpenDialogCanClose(const QString& fileName, bool&) {
    workingTable.LoadTabFile(TableSet::First, fileName);
}

void TTableGraphPage::TabFileSaveSaveDialogCanClose(const QString& fileName, bool&) {
    workingTable.SaveTabFile(TableSet::First, fileName);
}

void TTableGraphPage::TabFileSaveBeforeExecute() {
    actions.TabFileSave->FileName = DefaultFileName();
}

void TTableGraphPage::ActionTableOneToOneExecute() {
    workingTable.ReplaceWithIdentity();
}

void TTableGraphPage::ActionCopyOneToTwoExecute() {
    workingTable.CopyRegion(CopyMode::Tab1ToTab2, TableSet::First, TableSet::First);
}

void TTableGraphPage::ActionCopyTwoToOneExecute() {
    workingTable.CopyRegion(CopyMode::Tab2ToTab1, TableSet::First, TableSet::First);
}

void TTableGraphPage::ActionReadCoverterExecute() {
    workingTable.ReadTables();
}

void TTableGraphPage::ActionWriteConverterExecute() {
    workingTable.WriteTables();
}

void TTableGraphPage::TabSheetTableGraphShow() {
    workingTable.Redraw();
}
