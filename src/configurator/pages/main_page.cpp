#include "main_page.h"

#include "actions.h"
#include "control_factory.h"
#include "converter_protocol.h"
#include "message_box.h"
#include "path_text.h"
#include "port_combo_box.h"
#include "port_open_hint.h"
#include "rxtx.h"
#include "system_locale.h"
#include "table.h"
#include "typed_combo.h"
#include "zarni_broadcaster.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>

#include <exception>

TMainPage::TMainPage(TActions& actions, TZarniBroadcaster& bus, Table& workingTable)
    : actions(actions), bus(bus), workingTable(workingTable) {
    setObjectName("MainTabSheet");
    SetBackground(this, QColor("#C9A5A8"));

    Label20 = NamedLabel("Label20", "COM port");
#ifdef ZARNI_HAS_SIMULATOR
    // The simulated converter is one more port of the configurator's list; listing selects nothing.
    ComComboBox1 = Named<TPortComboBox>("ComComboBox1", QStringList{TRXTX::SimulatorPortName});
#else
    ComComboBox1 = Named<TPortComboBox>("ComComboBox1", QStringList{});
#endif
    ComComboBox1->setEditable(false);
    ComComboBox1->setMinimumWidth(160);
    ComComboBox1->RefreshPorts();
    // activated, not currentIndexChanged: choosing the same port again reopens it.
    connect(ComComboBox1, &QComboBox::activated, this, &TMainPage::ComComboBox1Change);

    Label21 = NamedLabel("Label21", "Язык/Language");
    ComboBoxLanguage = Named<QComboBox>("ComboBoxLanguage");
    ComboBoxLanguage->setEditable(true);
    ComboBoxLanguage->addItems({"Русский", "English"});
    ComboBoxLanguage->setCurrentIndex(0);
    ComboBoxLanguage->setMinimumWidth(160);
    BindTypedSelection(*ComboBoxLanguage, this, [this] { ComboBoxLanguageChange(); });

    LabelFirmware = NamedLabel("LabelFirmware", "Версия прошивки V ", true);
    QFont italic = LabelFirmware->font();
    italic.setItalic(true);
    LabelFirmware->setFont(italic);
    CaptureFirmwareLabelPrefix();

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setVerticalSpacing(8);
    layout->addWidget(Label20, 0, 0);
    layout->addWidget(ComComboBox1, 1, 0);
    layout->addWidget(Label21, 2, 0);
    layout->addWidget(ComboBoxLanguage, 3, 0);
    layout->addWidget(LabelFirmware, 4, 0);
    layout->setRowStretch(5, 1);
    layout->setColumnStretch(1, 1);
}

void TMainPage::ComboBoxLanguageChange() {
    emit LanguageChosen(ComboBoxLanguage->currentIndex());
}

int TMainPage::LanguageIndex() const {
    return ComboBoxLanguage->currentIndex();
}

void TMainPage::SetLanguageIndex(int index) {
    // An index the list does not hold selects nothing; the handler runs only when asked for.
    const QSignalBlocker blocker(ComboBoxLanguage);
    ComboBoxLanguage->setCurrentIndex(index >= 0 && index < ComboBoxLanguage->count() ? index : -1);
}

void TMainPage::ApplyLanguage(Language language) {
    SetCaptions({{LabelFirmware, {"Версия прошивки V ", "Firmware V "}}}, language);
}

void TMainPage::CaptureFirmwareLabelPrefix() {
    firmwareLabelPrefix = LabelFirmware->text();
}

bool TMainPage::PortChosen() const {
    return ComComboBox1->currentIndex() >= 0;
}

void TMainPage::ComComboBox1Change() {
    try {
        TMsgSetComPort message(ComComboBox1->currentText().toStdString());
        bus.Broadcast(message);
        workingTable.ReadTables();
        const int version = workingTable.ReadVersion();
        LabelFirmware->setText(firmwareLabelPrefix + FromUtf8(versionText(version, DecimalSeparator())));
        actions.ActionReadCoverter->setEnabled(true);
        actions.ActionWriteConverter->setEnabled(true);
    } catch (const ESerialError& failure) {
        // A port that cannot be opened changes nothing else; the user hears why, and what to do. For a
        // cause we cannot name the system's own text goes first.
        const PortOpenProblem problem = ClassifyPortOpenFailure(failure.ErrorCode());
        const PortOpenHint hint = HintFor(problem);
        const QString system =
            problem == PortOpenProblem::Other ? FromUtf8(failure.what()) + "\n\n" : QString();
        ShowMessage(system + FromUtf8(hint.english + "\n\n" + hint.russian));
    } catch (const std::exception&) {
        // A failure of the exchanges after the open has been reported by them.
    }
}
