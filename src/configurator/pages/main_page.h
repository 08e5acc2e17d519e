#pragma once
// The main page: the port selector, the language selector and the converter's firmware version.
// Choosing a port connects: the bus opens the port, the working table reads the converter.

#include "language.h"

#include <QWidget>

class QComboBox;
class QLabel;
class TActions;
class TPortComboBox;
class TZarniBroadcaster;
class Table;

class TMainPage : public QWidget {
    Q_OBJECT
public:
    // The port list is filled at once, with the simulated converter last, and read again each time it
    // drops down.
    TMainPage(TActions& actions, TZarniBroadcaster& bus, Table& workingTable);

    void ComComboBox1Change();
    // Asks for the language of the selector's item index (-1 for typed text).
    void ComboBoxLanguageChange();

    int LanguageIndex() const;
    void SetLanguageIndex(int index);
    void ApplyLanguage(Language language);
    // The firmware label's caption at the end of start-up becomes the prefix of the version.
    void CaptureFirmwareLabelPrefix();

    // A port has been chosen in the selector (whether or not it opened).
    bool PortChosen() const;
    // What the version is appended to.
    const QString& FirmwareLabelPrefix() const { return firmwareLabelPrefix; }

signals:
    void LanguageChosen(int index);

private:
    TActions& actions;
    TZarniBroadcaster& bus;
    Table& workingTable;

    QLabel* Label20;
    TPortComboBox* ComComboBox1;
    QLabel* Label21;
    QComboBox* ComboBoxLanguage;
    QLabel* LabelFirmware;
    QString firmwareLabelPrefix;
};
