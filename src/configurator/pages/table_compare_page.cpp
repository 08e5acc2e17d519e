#include "table_compare_page.h"

#include "actions.h"
#include "control_factory.h"
#include "file_action.h"
#include "menu_items.h"
#include "page_layouts.h"

#include <QGridLayout>
#include <QMenuBar>
#include <qcustomplot.h>

namespace {

// The system's "hot-track" colour of the fifth comparison curve.
const QColor HotTrackColour("#0066CC");

// The page's columns: the box names' stem, the default text, and the parameter each box holds.
struct Column {
    const char* stem;
    const char* initial;
    Parameter parameter;
};
constexpr Column Columns[ParameterCount] = {
    {"Maf", "100", Parameter::SmoothMaf},
    {"Tps", "100", Parameter::SmoothTps},
    {"Rpm", "100", Parameter::SmoothRpm},
    {"MafTime", "4", Parameter::MafTime},
    {"Treshold", "5", Parameter::Treshold},
    {"EnrichmentFactor", "0", Parameter::EnrichmentFactor},
    {"EnleanmentFactor", "50", Parameter::EnleanmentFactor},
    {"TpsThreshold", "255", Parameter::TpsThreshold},
};

QLineEdit* CompareBox(const Column& column, int file) {
    const QByteArray name = QByteArray("MaskEdit") + column.stem + QByteArray::number(file) + "Compare";
    // The enrichment factor shows below 0 for stored values under 128, so its box takes a sign.
    return ParameterEdit(name.constData(), column.initial, column.parameter == Parameter::EnrichmentFactor);
}

} // namespace

TTableComparePage::TTableComparePage(TActions& actions, Table& comparisonTable)
    : actions(actions), comparisonTable(comparisonTable) {
    setObjectName("TabSheetTableCompare");
    ActionMainMenuBarTableCompare = Named<QMenuBar>("ActionMainMenuBarTableCompare");
    ChartCompare = Named<QCustomPlot>("ChartCompare");

    Label4 = NamedLabel("Label4", "Tab#1", true);
    Label5 = NamedLabel("Label5", "Tab#2", true);
    Label1 = NamedLabel("Label1", "MAF");
    Label6 = NamedLabel("Label6", "TPS");
    Label7 = NamedLabel("Label7", "RPM");
    LabelMafTimeCompare = NamedLabel("LabelMafTimeCompare", "Выб-ка MAF 1/100сек *");
    LabelThresholdCompare = NamedLabel("LabelThresholdCompare", "Порог ");
    LabelEnrichmentFactor1Compare = NamedLabel("LabelEnrichmentFactor1Compare", "+%");
    LabelEnleanmentFactorCompare = NamedLabel("LabelEnleanmentFactorCompare", "-%");
    LabelTpsThrhd = NamedLabel("LabelTpsThrhd", "Переход на Таб.№2");
    LabelSm = NamedLabel("LabelSm", "Сглаживание", true);
    LabelEnrch = NamedLabel("LabelEnrch", "Обогащение УН", true);
    QLabel* const headings[ParameterCount] = {Label1,
                                              Label6,
                                              Label7,
                                              LabelMafTimeCompare,
                                              LabelThresholdCompare,
                                              LabelEnrichmentFactor1Compare,
                                              LabelEnleanmentFactorCompare,
                                              LabelTpsThrhd};

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    grid->addWidget(LabelSm, 0, 1, 1, 3);
    grid->addWidget(LabelEnrch, 0, 4, 1, 4);
    for (int column = 0; column < ParameterCount; ++column) {
        row1[column] = CompareBox(Columns[column], 1);
        row2[column] = CompareBox(Columns[column], 2);
        grid->addWidget(headings[column], 1, column + 1);
        grid->addWidget(row1[column], 2, column + 1);
        grid->addWidget(row2[column], 3, column + 1);
    }
    grid->addWidget(Label4, 2, 0);
    grid->addWidget(Label5, 3, 0);
    grid->setColumnStretch(9, 1);
    LayTablePage(this, ActionMainMenuBarTableCompare, ChartCompare, grid);

    comparisonTable.SetupTableChart(ChartCompare, false, {"Tab 1.1", QColor("#FF0000")},
                                    {"Tab 1.2", QColor("#0000FF")}, InParameterOrder(row1));
    comparisonTable.SetupSecondSet({"Tab 2.1", QColor("#800000")}, {"Tab 2.2", HotTrackColour},
                                   InParameterOrder(row2));
    BuildMenuBar();

    connect(actions.FileOpenCompare, &TFileAction::Accept, this,
            &TTableComparePage::FileOpenCompareOpenDialogCanClose);
    connect(actions.FileOpenCompare2, &TFileAction::Accept, this,
            &TTableComparePage::FileOpenCompare2OpenDialogCanClose);
    connect(actions.FileSaveAsCompare, &TFileAction::Accept, this,
            &TTableComparePage::FileSaveAsCompareSaveDialogCanClose);
    connect(actions.FileSaveAsCompare2, &TFileAction::Accept, this,
            &TTableComparePage::FileSaveAsCompare2SaveDialogCanClose);
}

Table::ParameterBoxes TTableComparePage::InParameterOrder(const BoxRow& row) {
    Table::ParameterBoxes boxes{};
    for (int column = 0; column < ParameterCount; ++column)
        boxes[int(Columns[column].parameter)] = row[column];
    return boxes;
}

void TTableComparePage::BuildMenuBar() {
    QMenuBar* bar = ActionMainMenuBarTableCompare;
    AddTabPair(AddSubMenu(bar, actions.FileOpenCompare->text()), actions.FileOpenCompare,
               actions.FileOpenCompare2);
    AddTabPair(AddSubMenu(bar, actions.FileSaveAsCompare->text()), actions.FileSaveAsCompare,
               actions.FileSaveAsCompare2);
    // Kept hidden: these commands exist for the comparison tables but are not offered.
    AddTabPair(AddSubMenu(bar, "Обнулить", true), actions.ActionNullTable, actions.ActionNullTable);
    AddTabPair(AddSubMenu(bar, "Замена &1:1", true), actions.ActionTableOneToOne,
               actions.ActionTableOneToOne);
    QMenu* hiddenCopy = AddSubMenu(bar, "Копировать ", true);
    for (const char* caption :
         {"&1.1->2.1", "1.1->&2.2", "1.2->2.1", "1.2->2.2", "2.1->1.1", "2.1->1.2", "2.2->1.1", "2.2->1.2"})
        AddItem(hiddenCopy, actions.ActionCopyOneToTwo, caption);
    AddTabPair(AddSubMenu(bar, "Считать из конвертера", true), actions.ActionReadCoverter,
               actions.ActionReadCoverter);
    AddTabPair(AddSubMenu(bar, "Записать в конвертер", true), actions.ActionWriteConverter,
               actions.ActionWriteConverter);
}

void TTableComparePage::ApplyLanguage(Language language) {
    SetMenuCaptions(ActionMainMenuBarTableCompare,
                    {{"Открыть", "Open"},
                     {"Сохранить", "Save"},
                     {"Обнулить", "Null"},
                     {"Замена 1:1", "1:1 Table"},
                     {"Копировать", "Copy"},
                     {"Считать из конвертера", "Read from Converter"},
                     {"Записать в конвертер", "Write to Converter"}},
                    language);
    ChartCompare->yAxis->setLabel(ConverterOutTitle.In(language));
    ChartCompare->replot();
    SetCaptions({{LabelMafTimeCompare, {"Выб-ка MAF 1/100сек", "MAF samp. 1/100sec"}},
                 {LabelThresholdCompare, {"Порог", "Threshold"}},
                 {LabelSm, SmoothingCaption},
                 {LabelEnrch, EnrichmentCaption},
                 {LabelTpsThrhd, TpsThresholdCaption}},
                language);
}

void TTableComparePage::FileOpenCompareOpenDialogCanClose(const QString& fileName, bool&) {
    comparisonTable.LoadTabFile(TableSet::First, fileName);
}

void TTableComparePage::FileOpenCompare2OpenDialogCanClose(const QString& fileName, bool&) {
    comparisonTable.LoadTabFile(TableSet::Second, fileName);
}

void TTableComparePage::FileSaveAsCompareSaveDialogCanClose(const QString& fileName, bool&) {
    comparisonTable.SaveTabFile(TableSet::First, fileName);
}

void TTableComparePage::FileSaveAsCompare2SaveDialogCanClose(const QString& fileName, bool&) {
    comparisonTable.SaveTabFile(TableSet::Second, fileName);
}
