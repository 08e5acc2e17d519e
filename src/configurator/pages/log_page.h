#pragma once
// The log page: the chart of recorded runs and the log file commands.

#include <QWidget>

class QCustomPlot;
class QMenuBar;
class TActions;

class TLogPage : public QWidget {
    Q_OBJECT
public:
    explicit TLogPage(TActions& actions);

private:
    QMenuBar* ActionMainMenuBarLogGraph;
    QCustomPlot* ChartLog;
};
