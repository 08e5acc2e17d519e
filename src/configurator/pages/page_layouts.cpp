#include "page_layouts.h"

#include "control_factory.h"

#include <QMenuBar>
#include <QVBoxLayout>
#include <qcustomplot.h>

void LayTablePage(QWidget* page, QMenuBar* menuBar, QCustomPlot* chart, QLayout* parameters) {
    SetBackground(page, PageBlue);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 0, 2, 2);
    layout->addWidget(menuBar);
    layout->addWidget(chart, 1);
    layout->addLayout(parameters);
}

void LayPanelPage(QWidget* page, QMenuBar* menuBar, QWidget* panel) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(menuBar);
    layout->addWidget(panel, 1);
    SetBackground(panel, PageBlue);
}
