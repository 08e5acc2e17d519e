#pragma once
// The firmware update from the firmware page: the file the dialog accepted is sent frame by frame
// while the window takes no input (the progress bar repaints after every frame), alone or followed by
// the one-to-one table, the "0-5V Signal" sensor and a live start.

#include <QObject>
#include <QString>

class Log;
class TActions;
class TAutotuningSetupPage;
class TFirmwarePage;
class TRXTX;
class Table;

class TFirmwareUpdate : public QObject {
    Q_OBJECT
public:
    struct Objects {
        TActions& actions;
        TRXTX& link;
        Log& log;
        TFirmwarePage& firmwarePage;
        TAutotuningSetupPage& setupPage;
        Table& workingTable;
    };
    TFirmwareUpdate(QObject* owner, const Objects& objects);

    // Records the file the user accepted in the dialog.
    void FileOpenFirmwareOpenDialogCanClose(const QString& fileName, bool& canClose);
    // Uploads the recorded file once the dialog has closed; a cancelled dialog uploads nothing.
    void FileOpenFirmwareOpenDialogClose();
    void ActionUpgradeFirmwareOneToOneExecute();

    // From the dialog's closing until the upload's last message has been answered: the window must
    // not close meanwhile.
    bool Uploading() const { return uploading; }

private:
    // Returns whether every frame was acknowledged.
    bool Upload();

    Objects objects;
    QString fileName;
    bool acceptedThisTime = false;
    bool uploaded = false;
    bool uploading = false;
};
