#include "sound_folder.h"

#include <QCoreApplication>
#include <QDir>

QString ProgramSoundFolder() {
    const QDir program(QCoreApplication::applicationDirPath());
    const QString beside = program.filePath("Sound");
    if (QDir(beside).exists())
        return beside + "/";
    return QDir::cleanPath(program.filePath("../share/zarni-configurator/Sound")) + "/";
}
