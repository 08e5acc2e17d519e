#pragma once
// Answers the modal message boxes a test provokes, as a user would press OK, and keeps their texts,
// so a test can check what the user was told and never hangs on a box.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

class ModalAnswerer {
public:
    ModalAnswerer() {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this] { Answer(); });
        timer.start();
    }

    QStringList Texts;

private:
    void Answer() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        Texts << box->text();
        if (QAbstractButton* ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->done(0);
    }

    QTimer timer;
};
