#pragma once
// Answers every modal message box with OK and keeps what it said, in order, so a test never hangs on
// a box and can check exactly what the user was shown. It polls from a timer, which the box's own
// event loop keeps running; the recorder must live on the GUI thread. A box is answered at the
// earliest on the poll after the one that saw it open, so work queued while it is open (as the live
// reader queues its hand-offs) runs inside its event loop first.

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

class MessageBoxRecorder {
public:
    struct Box {
        QString text;
        QMessageBox::Icon icon;
    };

    MessageBoxRecorder() {
        QObject::connect(&timer, &QTimer::timeout, &timer, [this] { Poll(); });
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

    // Each box stays open at least this long, as a user reading it would keep it.
    void HoldOpen(std::chrono::milliseconds hold) { holdOpen = hold; }
    // Run once per box: when it is seen open, and just before it is answered.
    std::function<void(const QString& text)> OnOpen;
    std::function<void(const QString& text)> OnAnswer;

private:
    void Poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        // Other modal windows (the progress window) are not ours to answer.
        if (!box)
            return;
        auto known = std::find_if(seen.begin(), seen.end(), [box](const Seen& s) { return s.box == box; });
        if (known == seen.end()) {
            seen.push_back({box, {}});
            seen.back().since.start();
            boxes.push_back({box->text(), box->icon()});
            if (OnOpen)
                OnOpen(box->text());
            return;
        }
        if (known->since.elapsed() < holdOpen.count())
            return;
        if (OnAnswer)
            OnAnswer(box->text());
        if (QAbstractButton* ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->reject();
    }

    struct Seen {
        QPointer<QMessageBox> box;
        QElapsedTimer since;
    };

    QTimer timer;
    std::vector<Seen> seen;
    std::chrono::milliseconds holdOpen{0};
    std::vector<Box> boxes;
};
