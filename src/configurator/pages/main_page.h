#pragma once
// The main page: the port selector, the language selector and the converter's firmware version.
// Choosing a port connects: the bus opens the port, the working table reads the converter.

#include <QWidget>

class QComboBox;
class QLabel;
class TActions;
class TZarniBroadcaster;
class Table;

class TMainPage : public QWidget {
    Q_OBJECT
public:
    // The port list is filled at once, with the simulated converter last.
    TMainPage(TActions& actions, TZarniBroadcaster& bus, Table& workingTable);

    void ComComboBox1Change();

    // A port has been chosen in the selector (whether or not it opened).
    bool PortChosen() const;
    // The firmware label's design caption, which the version is appended to.
    const QString& FirmwareLabelPrefix() const { return firmwareLabelPrefix; }

private:
    TActions& actions;
    TZarniBroadcaster& bus;
    Table& workingTable;

    QLabel* Label20;
    QComboBox* ComComboBox1;
    QLabel* Label21;
    QComboBox* ComboBoxLanguage;
    QLabel* LabelFirmware;
    QString firmwareLabelPrefix;
};
