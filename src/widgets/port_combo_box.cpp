#include "port_combo_box.h"

#include "list_ports.h"

#include <QSignalBlocker>

TPortComboBox::Lister& TPortComboBox::SystemPorts() {
    static Lister lister = [] {
        QStringList names;
        for (const std::string& name : ListPorts())
            names << QString::fromStdString(name);
        return names;
    };
    return lister;
}

TPortComboBox::TPortComboBox(QStringList alwaysListed, QWidget* parent)
    : QComboBox(parent), alwaysListed(std::move(alwaysListed)) {}

void TPortComboBox::RefreshPorts() {
    const QString chosen = currentIndex() >= 0 ? currentText() : QString();
    const QString typed = isEditable() ? currentText() : QString();
    const QSignalBlocker blocker(this);
    clear();
    addItems(SystemPorts()() + alwaysListed);
    setCurrentIndex(chosen.isEmpty() ? -1 : findText(chosen));
    if (isEditable())
        setEditText(typed);
}

void TPortComboBox::showPopup() {
    RefreshPorts();
    QComboBox::showPopup();
}
