#include "install_check.h"

#include "firmware_manual.h"
#include "sound_cues.h"
#include "sound_folder.h"

#include <QCoreApplication>
#include <QFileInfo>

bool CheckInstall(QTextStream& out) {
    const QStringList folders = SoundFolders(kWorkingSoundFolder, QCoreApplication::applicationDirPath());
    bool complete = true;
    for (const QString& cue : AllCues()) {
        const QString path = FindSound(folders, cue);
        complete = complete && !path.isEmpty();
        out << "Sound " << cue << ": "
            << (path.isEmpty() ? QStringLiteral("missing, the system beep plays instead")
                               : QFileInfo(path).absoluteFilePath())
            << "\n";
    }
    const qsizetype page = FirmwareManualPage().size();
    complete = complete && page > 0;
    out << "Firmware instructions page: "
        << (page > 0 ? QStringLiteral("embedded, %1 bytes").arg(page) : QStringLiteral("missing")) << "\n";
    return complete;
}
