#pragma once
// A port selector whose list is read again each time it drops down: a port that appeared after the
// start (an adapter plugged in again, often under a new name) can be chosen, and one that has gone
// is no longer offered. What is chosen or typed stays as it was.

#include <QComboBox>
#include <QStringList>

#include <functional>

class TPortComboBox : public QComboBox {
public:
    // The system's serial ports, sorted; tests stand in for them.
    using Lister = std::function<QStringList()>;
    static Lister& SystemPorts();

    // alwaysListed follows the system's ports (the simulated converter's entry).
    explicit TPortComboBox(QStringList alwaysListed, QWidget* parent = nullptr);

    // Lists the ports present, keeping the chosen item (or typed text) when it is still there; a chosen
    // item that has gone leaves nothing chosen. Sends no change of its own.
    void RefreshPorts();

    void showPopup() override;

private:
    QStringList alwaysListed;
};
