#pragma once
// The log page: the chart of recorded runs and the log file commands.

#include "language.h"

#include <QWidget>

class QCustomPlot;
class QMenuBar;
class Log;
class TActions;

class TLogPage : public QWidget {
    Q_OBJECT
public:
    // Binds the Log's chart to the page's chart.
    TLogPage(TActions& actions, Log& log);

    void LogTabSheetShow();
    void LogFileOpenOpenDialogCanClose(const QString& fileName, bool& canClose);
    void FileSaveAs1SaveDialogCanClose(const QString& fileName, bool& canClose);
    void LogFileSaveBeforeExecute();
    void LogFileExportCsvSaveDialogCanClose(const QString& fileName, bool& canClose);
    // Opens the folder of the recorded runs in the file manager.
    void LogRecordingsFolderExecute();
    // "Сохранить все": the table's save dialog, then the log's, each proposing the date-and-time name.
    void ActionSaveALLExecute();
    void ApplyLanguage(Language language);

protected:
    void showEvent(QShowEvent* event) override;

private:
    TActions& actions;
    Log& log;
    QMenuBar* ActionMainMenuBarLogGraph;
    QCustomPlot* ChartLog;
};
