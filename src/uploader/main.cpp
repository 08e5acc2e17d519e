// uploader: sends a firmware file to the converter over a serial port.

#include "uploader_window.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationDisplayName("Zarni Firmware Uploader");
    app.setOrganizationName("Zarni");
    app.setApplicationName("ZarniUploader");
    uploader::TForm1 window;
    window.show();
    return app.exec();
}
