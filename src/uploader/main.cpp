// uploader: sends a firmware file to the converter over a serial port.

#include "printing_options.h"
#include "uploader_window.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char** argv) {
    UseNoDisplayForPrintingOptions(argc, argv);
    QApplication app(argc, argv);
    app.setApplicationDisplayName("Zarni Firmware Uploader");
    app.setOrganizationName("Zarni");
    app.setApplicationName("ZarniUploader");
    app.setApplicationVersion(ZARNI_VERSION);
    // Lets the desktop match the window to its entry, and so to its icon.
    app.setDesktopFileName("zarni-uploader");
    QCommandLineParser options;
    options.setApplicationDescription(
        "Sends a firmware file to the MAF signal converter over a serial port.");
    options.addHelpOption();
    options.addVersionOption();
    options.process(app);
    uploader::TForm1 window;
    window.show();
    return app.exec();
}
