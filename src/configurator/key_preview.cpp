#include "key_preview.h"

#include <QApplication>
#include <QKeyEvent>

TKeyPreview::TKeyPreview(QWidget* window, Handler keyDown, Handler keyUp)
    : QObject(window), window(window), keyDown(std::move(keyDown)), keyUp(std::move(keyUp)) {
    qApp->installEventFilter(this);
}

TKeyPreview::~TKeyPreview() {
    qApp->removeEventFilter(this);
}

bool TKeyPreview::IsPropagationOfLastKey(const QEvent* event, QWidget* receiver) const {
    return event == lastEvent && lastReceiver && lastReceiver != receiver &&
           receiver->isAncestorOf(lastReceiver);
}

bool TKeyPreview::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    auto* receiver = qobject_cast<QWidget*>(watched);
    if (!receiver || receiver->window() != window)
        return false;
    if (IsPropagationOfLastKey(event, receiver))
        return false;
    lastEvent = event;
    lastReceiver = receiver;
    auto& key = static_cast<QKeyEvent&>(*event);
    const Handler& handler = event->type() == QEvent::KeyPress ? keyDown : keyUp;
    return handler && handler(key);
}
