#pragma once
// The uploader's window: a port, a warning, a gauge and one menu item that sends a firmware file to
// the converter frame by frame. Choosing a port opens it; the menu item works while one is open.

#include "com_port.h"
#ifdef ZARNI_HAS_SIMULATOR
#include "simulator_port.h"
#endif

#include <QMainWindow>

#include <functional>

class QAction;
class QFileDialog;
class QLabel;
class TGauge;
class TPortComboBox;

namespace uploader {

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Fills the port list; "Firmware" waits for a port.
    void FormCreate();
    // Opens the port chosen or typed, closing the one open before.
    void COMChange();
    // Chooses a firmware file and uploads it.
    void N1Click();

    // Asks for the file with the dialog; an empty name means it was cancelled. Tests answer it.
    using Chooser = std::function<QString(QFileDialog&)>;
    static Chooser& DialogChooser();

#ifdef ZARNI_HAS_SIMULATOR
    // The "Simulator" entry's converter once it has been chosen, otherwise null.
    SimulatorServer* Simulator() const { return simulator.Server(); }
#endif

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildWindow();
    // A typed name confirmed: opened unless it is the port chosen already (Enter reopens it).
    void RequestPortChange(bool evenIfSameName);
    void Upload(const QString& fileName);
    // A failed upload or open leaves no port open: "Firmware" waits for a port to be chosen again.
    void ClosePortAfterFailure();

    QLabel* Label1;
    TPortComboBox* COM;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    TGauge* Gauge1;
    QAction* N1;
    QFileDialog* FileOpenDLG;

#ifdef ZARNI_HAS_SIMULATOR
    SimulatorPort simulator; // before the port, so the port closes before the simulator stops
#endif
    TComPort ComPort1;
    bool portOpen = false;
    QString chosenName; // what COMChange last opened or tried
    bool portChangePending = false;
    bool reopenRequested = false;
    bool uploading = false;
    bool sizedToFrame = false;
};

} // namespace uploader
