#include "settings.h"

#include "actions.h"
#include "autotuning_setup_page.h"
#include "dashboard_page.h"
#include "file_action.h"
#include "file_error.h"
#include "main_page.h"
#include "message_box.h"
#include "o2_target_grid.h"
#include "path_text.h"
#include "settings_file.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <exception>

namespace {

const char* const SettingsFileName = "config.cfg";

} // namespace

TSettings::TSettings(QObject* owner, const Objects& objects) : QObject(owner), objects(objects) {
    connect(objects.actions.Nastroiki_FileOpen, &TFileAction::Accept, this,
            &TSettings::Nastroiki_FileOpenOpenDialogCanClose);
    connect(objects.actions.Nastroiki_FileSaveAs, &TFileAction::Accept, this,
            &TSettings::Nastroiki_FileSaveAsSaveDialogCanClose);
}

void TSettings::SaveSettings(const QString& fileName) {
    try {
        SettingsValues values;
        values.language = objects.mainPage.LanguageIndex();
        values.windowSpan = objects.dashboardPage.MaxWindowSpan();
        objects.setupPage.SaveTo(values);
        saveSettingsFile(ToPath(fileName), values);
    } catch (const FileError&) {
        ShowMessage("Config file save error");
    } catch (const std::exception& failure) {
        ShowMessage(QString::fromUtf8(failure.what()));
    }
}

void TSettings::LoadSettings(const QString& fileName) {
    SettingsRead read;
    try {
        read = readSettingsFile(ToPath(fileName));
    } catch (const FileError&) {
        ShowMessage(fileName + " Config file load error");
        return;
    }
    try {
        if (read.language)
            objects.mainPage.SetLanguageIndex(*read.language);
        objects.setupPage.LoadSensorType(read);
        if (read.language)
            objects.mainPage.ComboBoxLanguageChange();
        objects.setupPage.LoadDisplayChoices(read);
        if (read.windowSpan)
            objects.dashboardPage.SetMaxWindowSpan(*read.windowSpan);
        objects.setupPage.LoadO2Reference(read);
        objects.targetGrid.LoadFrom(read);
        objects.setupPage.LoadIntervals(read);
        if (read.tpsMin)
            objects.setupPage.ShowCalibration();
    } catch (const std::exception& failure) {
        ShowMessage(QString::fromUtf8(failure.what()));
    }
}

void TSettings::Nastroiki_FileOpenOpenDialogCanClose(const QString& fileName, bool&) {
    LoadSettings(fileName);
}

void TSettings::Nastroiki_FileSaveAsSaveDialogCanClose(const QString& fileName, bool&) {
    SaveSettings(fileName + ".cfg");
}

QString TSettings::UserSettingsFile() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(folder);
    return QDir(folder).filePath(SettingsFileName);
}

void TSettings::LoadAtStart() {
    const QString user = UserSettingsFile();
    if (QFileInfo::exists(user))
        LoadSettings(user);
    else if (QFileInfo(SettingsFileName).isFile())
        LoadSettings(SettingsFileName);
}

void TSettings::SaveAtClose() {
    SaveSettings(UserSettingsFile());
}
