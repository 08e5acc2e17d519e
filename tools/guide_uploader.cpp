// The user guide's picture of the uploader: the simulated converter chosen in "Port:", a small
// firmware file sent to it, the window pictured while the box that reports the result is open.

#include "render_steps.h"

#include "render_support.h"
#include "uploader_window.h"

#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>

namespace {

constexpr int kFrames = 12;
constexpr int kFramePayload = 64;

QByteArray Hex(int value, int digits) {
    return QByteArray::number(value, 16).rightJustified(digits, '0').toUpper();
}

// Frames of the announced length, the digits in one run as the uploader reads them; the simulated
// converter in update mode takes any payload.
bool WriteFirmwareFile(const QString& path) {
    QByteArray text;
    for (int frame = 0; frame < kFrames; ++frame) {
        text += Hex(kFramePayload, 4);
        for (int byte = 0; byte < kFramePayload; ++byte)
            text += Hex((frame * kFramePayload + byte) % 256, 2);
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

} // namespace

bool RenderUploaderPicture(const QString& folder) {
    QTemporaryDir files;
    const QString firmware = files.filePath("firmware.enc");
    if (!WriteFirmwareFile(firmware))
        return false;
    uploader::TForm1 window;
    window.show();
    auto* ports = window.findChild<QComboBox*>("COM");
    ports->setCurrentIndex(ports->findText("Simulator"));
    window.COMChange();
    uploader::TForm1::DialogChooser() = [firmware](QFileDialog&) { return firmware; };
    bool saved = false;
    TMessageBoxAnswerer boxes;
    boxes.onOpen = [&](const QString&) {
        saved = SavePicture(window.grab().toImage(), folder + "/uploader.png", PngDepth::Palette);
    };
    window.N1Click();
    return saved && boxes.Texts() == QStringList{"Upgrade is successful"};
}
