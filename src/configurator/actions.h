#pragma once
// The window's actions. Several pages show the same action in their menu bars, so the actions belong
// to the window, not to a page; each page connects the handlers of the actions it owns.

class QAction;
class QWidget;
class TFileAction;

class TActions {
public:
    // The actions are children of the window, so they live as long as it does.
    explicit TActions(QWidget* window);

    TFileAction* LogFileOpen;
    TFileAction* LogFileSave;
    QAction* LogRecordingsFolder;
    TFileAction* LogFileExportCsv;
    QAction* ActionNullTable;
    QAction* ActionTableOneToOne;
    QAction* ActionCopyOneToTwo;
    QAction* ActionCopyTwoToOne;
    QAction* ActionReadCoverter;
    QAction* ActionWriteConverter;
    QAction* ActionSaveALL;
    QAction* ActionStart;
    QAction* ActionStop;
    TFileAction* Nastroiki_FileOpen;
    TFileAction* Nastroiki_FileSaveAs;
    TFileAction* TabFileOpen;
    TFileAction* TabFileSave;
    TFileAction* FileOpenCompare;
    TFileAction* FileSaveAsCompare;
    TFileAction* FileOpenCompare2;
    TFileAction* FileSaveAsCompare2;
    TFileAction* FileOpenFirmware;
    QAction* ActionUpgradeFirmwareOneToOne;
};
