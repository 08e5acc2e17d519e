// Usage: render_pages [--guide] OUTPUT_FOLDER   (run with QT_QPA_PLATFORM=offscreen)
// Without --guide: one PNG per page of the main window, one of the progress window, and one of the
// log page with a ninety-second drive of the simulated converter's engine. With --guide: the user
// guide's pictures of both programs, as 8-bit palette PNGs.

#include "render_steps.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStyleFactory>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (QStyle* style = QStyleFactory::create("Fusion"))
        app.setStyle(style);
    // The design captions: no settings of the user's, as at a first start.
    QStandardPaths::setTestModeEnabled(true);
    QFile::remove(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/config.cfg");
    QStringList arguments = app.arguments().mid(1);
    const bool guide = arguments.removeAll("--guide") > 0;
    const QString folder = arguments.value(0, guide ? "guide" : "pages");
    QDir().mkpath(folder);
    if (!guide)
        return RenderPages(folder) ? 0 : 1;
    // The message boxes carry the program's name in their title, as in the programs themselves.
    app.setApplicationDisplayName("ZarniConfigurator");
    const bool configurator = RenderGuidePictures(folder);
    app.setApplicationDisplayName("Zarni Firmware Uploader");
    return configurator && RenderUploaderPicture(folder) ? 0 : 1;
}
