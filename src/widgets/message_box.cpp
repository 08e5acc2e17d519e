#include "message_box.h"

#include <QApplication>
#include <QMessageBox>

void ShowMessage(const QString& text, QWidget* parent) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    parent ? parent : QApplication::activeWindow());
    box.setObjectName("ShowMessage");
    box.exec();
}
