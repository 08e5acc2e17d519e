#include "firmware_manual.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

UrlOpener& FirmwareManualOpener() {
    static UrlOpener opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    return opener;
}

// The resources live in a static library, so they must be registered before first use.
static void RegisterResources() {
    Q_INIT_RESOURCE(configurator);
}

QByteArray FirmwareManualPage() {
    RegisterResources();
    QFile page(":/firmware_update.html");
    return page.open(QIODevice::ReadOnly) ? page.readAll() : QByteArray();
}

QString OpenFirmwareManual() {
    const QByteArray page = FirmwareManualPage();
    if (page.isEmpty())
        return {};
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::TempLocation) + "/ZarniConfigurator";
    QDir().mkpath(folder);
    const QString path = folder + "/firmware_update.html";
    QSaveFile copy(path);
    if (!copy.open(QIODevice::WriteOnly) || copy.write(page) < 0 || !copy.commit())
        return {};
    FirmwareManualOpener()(QUrl::fromLocalFile(path));
    return path;
}
