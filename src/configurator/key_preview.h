#pragma once
// Lets a window see key presses before its focused control. A line edit would otherwise take keys
// such as Ctrl+Z for itself, so this is an application-level event filter limited to one window.

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

class QKeyEvent;

class TKeyPreview : public QObject {
    Q_OBJECT
public:
    // A handler returns true when it consumed the key; the focused control then never sees it.
    using Handler = std::function<bool(QKeyEvent&)>;

    TKeyPreview(QWidget* window, Handler keyDown, Handler keyUp);
    ~TKeyPreview() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool IsPropagationOfLastKey(const QEvent* event, QWidget* receiver) const;

    QWidget* window;
    Handler keyDown;
    Handler keyUp;
    // An ignored key travels on to the parents of its receiver; each step passes through the filter
    // again, and must not run the handler twice.
    const QEvent* lastEvent = nullptr;
    QPointer<QWidget> lastReceiver;
};
