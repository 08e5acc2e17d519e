#include "firmware_update.h"

#include "actions.h"
#include "autotuning_setup_page.h"
#include "file_action.h"
#include "file_io.h"
#include "firmware_exchange.h"
#include "firmware_file.h"
#include "firmware_page.h"
#include "log.h"
#include "message_box.h"
#include "path_text.h"
#include "rxtx.h"
#include "table.h"

#include <cstdint>
#include <exception>

namespace {

constexpr int kSensorTypeFiveVolt = 2; // "0-5V Signal"

const char* const kCheckTheConverter =
    "Converter doesn't respond.\nPlease check the supply voltage, COM port and firmware update jumper\n\n"
    "Ошибка обновления. Конвертер не отвечает.\nПожалуйста проверьте питающее напряжение, COM порт, и "
    "перемычку обновления прошивки";

QString ResultMessage(UploadResult result) {
    switch (result) {
    case UploadResult::Uploaded:
        return "Firmware updated successfully.\n\nПрошивка успешно обновлена";
    case UploadResult::NoReply:
        return "\nFailed: " + FromUtf8(kCheckTheConverter);
    case UploadResult::Rejected:
        return "CRC error.  " + FromUtf8(kCheckTheConverter);
    }
    return {};
}

} // namespace

TFirmwareUpdate::TFirmwareUpdate(QObject* owner, const Objects& objects) : QObject(owner), objects(objects) {
    TFileAction* open = objects.actions.FileOpenFirmware;
    connect(open, &TFileAction::BeforeExecute, this, [this] { acceptedThisTime = false; });
    connect(open, &TFileAction::Accept, this, &TFirmwareUpdate::FileOpenFirmwareOpenDialogCanClose);
    connect(open, &TFileAction::DialogClosed, this, &TFirmwareUpdate::FileOpenFirmwareOpenDialogClose);
    connect(objects.actions.ActionUpgradeFirmwareOneToOne, &QAction::triggered, this,
            &TFirmwareUpdate::ActionUpgradeFirmwareOneToOneExecute);
}

void TFirmwareUpdate::FileOpenFirmwareOpenDialogCanClose(const QString& name, bool&) {
    fileName = name;
    acceptedThisTime = true;
}

void TFirmwareUpdate::FileOpenFirmwareOpenDialogClose() {
    uploaded = false;
    if (!acceptedThisTime)
        return;
    uploading = true;
    uploaded = Upload();
    uploading = false;
}

bool TFirmwareUpdate::Upload() {
    if (!objects.link.Connected()) {
        ShowMessage("COM port!!!");
        return false;
    }
    if (objects.log.LiveRunGoing()) {
        ShowMessage("Stop the live run before updating the firmware: the upload needs the port to itself.\n\n"
                    "Остановите запись перед обновлением прошивки: загрузке нужен порт целиком.");
        return false;
    }
    FirmwareRead read;
    try {
        const FileBytes text = readWholeFile(ToPath(fileName));
        read = ReadConfiguratorFirmware({reinterpret_cast<const char*>(text.data.get()), text.size});
    } catch (const FileError&) {
        ShowMessage("Error: File  not found.\n");
        return false;
    } catch (const std::exception& failure) {
        ShowMessage(QString::fromUtf8(failure.what())); // a file too big for memory
        return false;
    }
    if (!read.error.empty()) {
        ShowMessage(FromUtf8(read.error));
        return false;
    }
    FrameExchange how;
    how.progress = [page = &objects.firmwarePage](int percent) { page->ShowUploadProgress(percent); };
    try {
        const UploadResult result = ExchangeFrames(objects.link, read.image, how);
        ShowMessage(ResultMessage(result));
        return result == UploadResult::Uploaded;
    } catch (const std::exception& failure) {
        objects.link.ReportPortError(failure);
        return false;
    }
}

void TFirmwareUpdate::ActionUpgradeFirmwareOneToOneExecute() {
    objects.actions.FileOpenFirmware->Execute();
    objects.firmwarePage.window()->repaint();
    if (!uploaded)
        return;
    objects.actions.ActionTableOneToOne->trigger();
    // A first run on a converter that did not take the 1:1 table would tune against the wrong one.
    if (!objects.workingTable.WriteTables())
        return;
    objects.setupPage.SelectSensorTypeQuietly(kSensorTypeFiveVolt);
    objects.actions.ActionStart->trigger();
}
