#include "sound_folder.h"

#include <QDir>
#include <QFileInfo>

QStringList SoundFolders(const QString& chosen, const QString& programFolder) {
    const QDir program(programFolder);
    QStringList folders;
    if (!chosen.isEmpty())
        folders << chosen;
    folders << program.filePath("Sound") + "/"
            << QDir::cleanPath(program.filePath(QStringLiteral(ZARNI_INSTALLED_SOUND_FOLDER))) + "/";
    return folders;
}

QString FindSound(const QStringList& folders, const QString& file) {
    for (const QString& folder : folders) {
        if (QFileInfo(folder + file).isFile())
            return folder + file;
    }
    return {};
}
