// The main window's side of the converter link: creating the link, the port selection, reading and
// writing the converter's tables, and stopping the converter when the window closes.

#include "main_window.h"

#include "converter_protocol.h"
#include "path_text.h"
#include "rxtx.h"
#include "table.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLocale>

#include <exception>

namespace {

// The user's decimal separator; one the version text cannot hold as a single byte falls back to '.'.
char DecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point.at(0).unicode() < 0x80 ? char(point.at(0).unicode()) : '.';
}

} // namespace

void TForm1::CreateLink() {
    link = new TRXTX(this, *bus);
    // The simulated converter is one more port of the configurator's list; adding it selects nothing.
    const int selected = ComComboBox1->currentIndex();
    ComComboBox1->addItem(TRXTX::SimulatorPortName);
    ComComboBox1->setCurrentIndex(selected);
    // activated, not currentIndexChanged: choosing the same port again reopens it.
    connect(ComComboBox1, &QComboBox::activated, this, &TForm1::ComComboBox1Change);
    connect(ActionReadCoverter, &QAction::triggered, this, &TForm1::ActionReadCoverterExecute);
    connect(ActionWriteConverter, &QAction::triggered, this, &TForm1::ActionWriteConverterExecute);
}

void TForm1::ComComboBox1Change() {
    try {
        TMsgSetComPort message(ComComboBox1->currentText().toStdString());
        bus->Broadcast(message);
        workingTable->ReadTables();
        const int version = workingTable->ReadVersion();
        LabelFirmware->setText(firmwareLabelPrefix + FromUtf8(versionText(version, DecimalSeparator())));
        ActionReadCoverter->setEnabled(true);
        ActionWriteConverter->setEnabled(true);
    } catch (const std::exception&) {
        // A port that cannot be opened: the selection changes nothing, and says nothing.
    }
}

void TForm1::ActionReadCoverterExecute() {
    workingTable->ReadTables();
}

void TForm1::ActionWriteConverterExecute() {
    workingTable->WriteTables();
}

// Closing with a port open stops the converter whether or not a run is going on. Until the live run
// exists nobody sends "s" on the stop message, so it is sent here; the live data object takes it
// over, and this becomes the Stop action, once it handles the message.
void TForm1::StopConverter() {
    TMsgLogStop stop;
    bus->Broadcast(stop);
    sendStreamStop(*link);
}
