// The table graph page (working table pair) and the comparison page (second table pair).

#include "main_window.h"

#include "control_factory.h"

#include <QGridLayout>
#include <QMenuBar>
#include <QVBoxLayout>
#include <qcustomplot.h>

namespace {

QWidget* TablePanel(const char* name, QMenuBar* menuBar, QCustomPlot* chart, QLayout* parameters) {
    auto* page = Named<QWidget>(name);
    SetBackground(page, QColor("#A6CAF0"));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 0, 2, 2);
    layout->addWidget(menuBar);
    layout->addWidget(chart, 1);
    layout->addLayout(parameters);
    return page;
}

} // namespace

QWidget* TForm1::BuildTableGraphPage() {
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

    return TablePanel("TabSheetTableGraph", ActionMainMenuBarTableGraph, ChartTableGraph, grid);
}

QWidget* TForm1::BuildTableComparePage() {
    ActionMainMenuBarTableCompare = Named<QMenuBar>("ActionMainMenuBarTableCompare");
    ChartCompare = Named<QCustomPlot>("ChartCompare");

    Label4 = NamedLabel("Label4", "Tab#1", true);
    Label5 = NamedLabel("Label5", "Tab#2", true);
    const char* initial[] = {"100", "100", "100", "4", "5", "0", "50", "255"};
    QLineEdit** row1[] = {&MaskEditMaf1Compare,
                          &MaskEditTps1Compare,
                          &MaskEditRpm1Compare,
                          &MaskEditMafTime1Compare,
                          &MaskEditTreshold1Compare,
                          &MaskEditEnrichmentFactor1Compare,
                          &MaskEditEnleanmentFactor1Compare,
                          &MaskEditTpsThreshold1Compare};
    QLineEdit** row2[] = {&MaskEditMaf2Compare,
                          &MaskEditTps2Compare,
                          &MaskEditRpm2Compare,
                          &MaskEditMafTime2Compare,
                          &MaskEditTreshold2Compare,
                          &MaskEditEnrichmentFactor2Compare,
                          &MaskEditEnleanmentFactor2Compare,
                          &MaskEditTpsThreshold2Compare};
    const char* names1[] = {"MaskEditMaf1Compare",
                            "MaskEditTps1Compare",
                            "MaskEditRpm1Compare",
                            "MaskEditMafTime1Compare",
                            "MaskEditTreshold1Compare",
                            "MaskEditEnrichmentFactor1Compare",
                            "MaskEditEnleanmentFactor1Compare",
                            "MaskEditTpsThreshold1Compare"};
    const char* names2[] = {"MaskEditMaf2Compare",
                            "MaskEditTps2Compare",
                            "MaskEditRpm2Compare",
                            "MaskEditMafTime2Compare",
                            "MaskEditTreshold2Compare",
                            "MaskEditEnrichmentFactor2Compare",
                            "MaskEditEnleanmentFactor2Compare",
                            "MaskEditTpsThreshold2Compare"};

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
    QLabel* headings[] = {Label1,
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
    for (int column = 0; column < 8; ++column) {
        const bool signedValue = *row1 + column == &MaskEditEnrichmentFactor1Compare;
        *row1[column] = ParameterEdit(names1[column], initial[column], signedValue);
        *row2[column] = ParameterEdit(names2[column], initial[column], signedValue);
        grid->addWidget(headings[column], 1, column + 1);
        grid->addWidget(*row1[column], 2, column + 1);
        grid->addWidget(*row2[column], 3, column + 1);
    }
    grid->addWidget(Label4, 2, 0);
    grid->addWidget(Label5, 3, 0);
    grid->setColumnStretch(9, 1);

    return TablePanel("TabSheetTableCompare", ActionMainMenuBarTableCompare, ChartCompare, grid);
}

QWidget* TForm1::BuildLogPage() {
    auto* page = Named<QWidget>("LogTabSheet");
    ActionMainMenuBarLogGraph = Named<QMenuBar>("ActionMainMenuBarLogGraph");
    ChartLog = Named<QCustomPlot>("ChartLog");
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ActionMainMenuBarLogGraph);
    layout->addWidget(ChartLog, 1);
    return page;
}
