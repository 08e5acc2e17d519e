// The main window's side of the converter link: creating the link, the port selection, reading and
// writing the converter's tables.

#include "main_window.h"

#include "converter_protocol.h"
#include "path_text.h"
#include "rxtx.h"
#include "system_locale.h"
#include "table.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>

#include <exception>

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
