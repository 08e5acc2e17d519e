#include "log_page.h"

#include "actions.h"
#include "control_factory.h"
#include "file_action.h"
#include "menu_items.h"

#include <QMenuBar>
#include <QVBoxLayout>
#include <qcustomplot.h>

TLogPage::TLogPage(TActions& actions) {
    setObjectName("LogTabSheet");
    ActionMainMenuBarLogGraph = Named<QMenuBar>("ActionMainMenuBarLogGraph");
    ChartLog = Named<QCustomPlot>("ChartLog");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ActionMainMenuBarLogGraph);
    layout->addWidget(ChartLog, 1);

    AddItem(ActionMainMenuBarLogGraph, actions.LogFileOpen);
    AddItem(ActionMainMenuBarLogGraph, actions.LogFileSave);
}
