#include "uploader_window.h"

#include "bar_gauge.h"
#include "error_box.h"
#include "file_io.h"
#include "firmware_exchange.h"
#include "firmware_file.h"
#include "message_box.h"
#include "path_text.h"
#include "port_combo_box.h"
#include "port_open_hint.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <exception>
#include <utility>

namespace uploader {

namespace {

using namespace std::chrono_literals;

constexpr QSize kOuterSize(417, 209);

const char* const kLineFailedHint =
    "The line to the converter failed during the upload (an adapter pulled out, a Bluetooth link lost). "
    "Reconnect it, choose the port again and send the file again.";

#ifdef ZARNI_HAS_SIMULATOR
// The simulated converter waits in firmware-update mode, as a device with its jumper set.
ConverterModel ConverterInUpdateMode() {
    ConverterModel model;
    model.SetUpdateMode(true);
    return model;
}
#endif

QLabel* BoldLabel(const char* name, const QString& text, int pointSize = 0) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    QFont font = label->font();
    font.setBold(true);
    if (pointSize > 0)
        font.setPointSize(pointSize);
    label->setFont(font);
    return label;
}

QString ResultMessage(UploadResult result) {
    switch (result) {
    case UploadResult::Uploaded:
        return "Upgrade is successful";
    case UploadResult::NoReply:
        return "Device is not responding or is not connected!";
    case UploadResult::Rejected:
        return "Device is not responding! Check supply voltage, error CRC or bad firmware file. ";
    }
    return {};
}

} // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent)
#ifdef ZARNI_HAS_SIMULATOR
    , simulator(ConverterInUpdateMode)
#endif
{
    setObjectName("Form1");
    setWindowTitle("Zarni Firmware Uploader");
    BuildWindow();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::BuildWindow() {
    Label1 = BoldLabel("Label1", "Port:");
#ifdef ZARNI_HAS_SIMULATOR
    COM = new TPortComboBox({SimulatorPort::kName});
#else
    COM = new TPortComboBox({});
#endif
    COM->setObjectName("COM");
    COM->setEditable(true);
    // A typed name opens when it is complete (Enter, or leaving the box), not letter by letter, and
    // is not added to the list. Enter on a listed name chooses that item.
    COM->setInsertPolicy(QComboBox::NoInsert);
    connect(COM, &QComboBox::activated, this, [this] { COMChange(); });
    connect(COM->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        if (COM->findText(COM->currentText()) < 0)
            RequestPortChange(true);
    });
    connect(COM->lineEdit(), &QLineEdit::editingFinished, this, [this] { RequestPortChange(false); });
    Label2 = BoldLabel("Label2", "Attention!!!", 16);
    Label3 = BoldLabel("Label3", "Follow firmware upgrade");
    Label4 = BoldLabel("Label4", "instructions carefully");
    Gauge1 = new TGauge(TGauge::Kind::HorizontalBar);
    Gauge1->setObjectName("Gauge1");
    Gauge1->SetRange(0, 100);
    Gauge1->SetForeColor(QColor(0, 0, 128)); // navy
    Gauge1->SetShowText(true);
    FileOpenDLG = new QFileDialog(this);
    FileOpenDLG->setObjectName("FileOpenDLG");
    FileOpenDLG->setFileMode(QFileDialog::ExistingFile);

    N1 = menuBar()->addAction("Firmware");
    N1->setObjectName("N1");
    connect(N1, &QAction::triggered, this, &TForm1::N1Click);

    auto* panel = new QWidget;
    auto* layout = new QGridLayout(panel);
    layout->addWidget(Label1, 0, 0);
    layout->addWidget(COM, 0, 1);
    layout->addWidget(Label2, 1, 0, 1, 2, Qt::AlignHCenter);
    layout->addWidget(Label3, 2, 0, 1, 2, Qt::AlignHCenter);
    layout->addWidget(Label4, 3, 0, 1, 2, Qt::AlignHCenter);
    layout->addWidget(Gauge1, 4, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    setCentralWidget(panel);
}

void TForm1::FormCreate() {
    portOpen = false;
    COM->clear();
    COM->RefreshPorts(); // selects nothing
    N1->setEnabled(false);
}

TForm1::Chooser& TForm1::DialogChooser() {
    static Chooser chooser = [](QFileDialog& dialog) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    };
    return chooser;
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The size is the window's outer one, frame and title bar included, which only a shown window
    // knows.
    if (!sizedToFrame) {
        sizedToFrame = true;
        resize(size() + kOuterSize - frameGeometry().size());
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    // An upload cut short leaves the converter without a whole firmware.
    if (uploading)
        event->ignore();
    else
        event->accept();
}

void TForm1::RequestPortChange(bool evenIfSameName) {
    // One Enter can reach the box more than once (the combo box passes the key on): the requests of
    // one event are served once, after it.
    reopenRequested |= evenIfSameName;
    if (portChangePending)
        return;
    portChangePending = true;
    QTimer::singleShot(0, this, [this] {
        const bool reopen = std::exchange(reopenRequested, false);
        portChangePending = false;
        if (reopen || COM->currentText().trimmed() != chosenName)
            COMChange();
    });
}

void TForm1::COMChange() {
    if (portOpen) {
        ComPort1.Close();
        portOpen = false;
    }
    // A name typed names the port, so ports the system does not list (Bluetooth, some USB adapters)
    // can be reached; nothing chosen keeps the previous name.
    const QString name = COM->currentText().trimmed();
    if (!name.isEmpty())
        chosenName = name;
    try {
        if (!chosenName.isEmpty())
#ifdef ZARNI_HAS_SIMULATOR
            ComPort1.SetPortName(simulator.DeviceFor(chosenName.toStdString()));
#else
            ComPort1.SetPortName(chosenName.toStdString());
#endif
        ComPort1.Open();
    } catch (const ESerialError& failure) {
        N1->setEnabled(false); // the port that was open is closed now
        const std::string hint = HintFor(ClassifyPortOpenFailure(failure.ErrorCode())).english;
        ShowErrorBox(QString::fromUtf8(failure.what()) +
                     (hint.empty() ? "" : "\n\n" + QString::fromStdString(hint)));
        return;
    }
    portOpen = true;
    N1->setEnabled(true);
}

void TForm1::N1Click() {
    FileOpenDLG->setNameFilters({"Firmware (*.enc)", "All (*.*)"});
    const QString fileName = DialogChooser()(*FileOpenDLG);
    if (fileName.isEmpty())
        return;
    uploading = true;
    Upload(fileName);
    uploading = false;
}

void TForm1::Upload(const QString& fileName) {
    FirmwareRead read;
    try {
        const FileBytes text = readWholeFile(ToPath(fileName));
        read = ReadUploaderFirmware({reinterpret_cast<const char*>(text.data.get()), text.size});
    } catch (const FileError&) {
        ShowErrorBox("Cannot open file \"" + QDir::toNativeSeparators(fileName) + "\".");
        return;
    } catch (const std::exception& failure) {
        ShowErrorBox(QString::fromUtf8(failure.what())); // a file too big for memory
        return;
    }
    if (!read.error.empty()) {
        ShowMessage(QString::fromStdString(read.error));
        return;
    }
    FrameExchange how;
    how.beforeFrame = FrameExchange::BeforeFrame::Drain;
    how.drainTimeout = 1ms;
    how.replyTimeout = 4000ms;
    how.setReadTimeout = [this](std::chrono::milliseconds timeout) { ComPort1.SetReadTimeout(timeout); };
    how.progress = [this](int percent) {
        Gauge1->SetProgress(percent);
        Gauge1->repaint();
    };
    how.afterFailure = [this] { ClosePortAfterFailure(); };
    try {
        ShowMessage(ResultMessage(ExchangeFrames(ComPort1, read.image, how)));
    } catch (const ESerialError& failure) {
        // The port is closed already; the system's text alone does not say what to do.
        ShowErrorBox(QString::fromUtf8(failure.what()) + "\n\n" + kLineFailedHint);
    } catch (const std::exception& failure) {
        ShowErrorBox(QString::fromUtf8(failure.what()));
    }
}

void TForm1::ClosePortAfterFailure() {
    ComPort1.Close();
    portOpen = false;
    N1->setEnabled(false);
}

} // namespace uploader
