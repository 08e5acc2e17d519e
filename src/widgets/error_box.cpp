#include "error_box.h"

#include <QApplication>
#include <QMessageBox>

void ShowErrorBox(const QString& text) {
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationDisplayName(), text);
}
