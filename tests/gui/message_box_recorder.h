#pragma once
// Answers every modal message box with OK and keeps what it said, in order, so a test never hangs on
// a box and can check exactly what the user was shown. It polls from a timer, which the box's own
// event loop keeps running; the recorder must live on the GUI thread.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <vector>

class MessageBoxRecorder {
public:
    struct Box {
        QString text;
        QMessageBox::Icon icon;
    };

    MessageBoxRecorder() {
        QObject::connect(&timer, &QTimer::timeout, &timer, [this] { AnswerOpenBox(); });
        timer.start(10);
    }

    const std::vector<Box>& Boxes() const { return boxes; }
    QStringList Texts() const {
        QStringList texts;
        for (const Box& box : boxes)
            texts << box.text;
        return texts;
    }
    void Clear() { boxes.clear(); }

private:
    void AnswerOpenBox() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        // Other modal windows (the progress window) are not ours to answer.
        if (!box || box == answered)
            return;
        answered = box;
        boxes.push_back({box->text(), box->icon()});
        if (QAbstractButton* ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->reject();
    }

    QTimer timer;
    QPointer<QMessageBox> answered;
    std::vector<Box> boxes;
};
