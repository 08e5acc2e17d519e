#pragma once
// The window's side of the settings file: which controls of which page each field comes from and
// goes to, in the order the loader applies them, and where the file lives. The file's layout is the
// core's.

#include <QObject>
#include <QString>

class O2TargetGrid;
class TActions;
class TAutotuningSetupPage;
class TDashboardPage;
class TMainPage;

class TSettings : public QObject {
    Q_OBJECT
public:
    struct Objects {
        TActions& actions;
        TMainPage& mainPage;
        TDashboardPage& dashboardPage;
        TAutotuningSetupPage& setupPage;
        O2TargetGrid& targetGrid;
    };
    TSettings(QObject* owner, const Objects& objects);

    // Failures are shown to the user; an existing file stays as it was.
    void SaveSettings(const QString& fileName);
    void LoadSettings(const QString& fileName);
    void Nastroiki_FileOpenOpenDialogCanClose(const QString& fileName, bool& canClose);
    // ".cfg" is always appended to the chosen name.
    void Nastroiki_FileSaveAsSaveDialogCanClose(const QString& fileName, bool& canClose);

    // "config.cfg" in the user's configuration folder (created when missing).
    static QString UserSettingsFile();
    // The user's file; before the first close, one left in the working directory by an earlier
    // version. No file yet is no error.
    void LoadAtStart();
    void SaveAtClose();

private:
    Objects objects;
};
