#pragma once
// The log page: the chart of recorded runs and the log file commands.

#include "language.h"

#include <QWidget>

class QCustomPlot;
class QMenuBar;
class TActions;

class TLogPage : public QWidget {
    Q_OBJECT
public:
    explicit TLogPage(TActions& actions);

    void SetAxisTitles(const QString& left, const QString& bottom);
    void ApplyLanguage(Language language);

private:
    QMenuBar* ActionMainMenuBarLogGraph;
    QCustomPlot* ChartLog;
};
