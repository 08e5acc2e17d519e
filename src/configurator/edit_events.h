#pragma once
// The events of an edit box that Qt has no signal for: the focus entering it, the mouse entering it,
// and a typed character that a handler may drop by setting it to 0.

#include <QObject>

#include <functional>

class QLineEdit;

class TEditEvents : public QObject {
    Q_OBJECT
public:
    // Watches the edit for as long as it lives.
    explicit TEditEvents(QLineEdit* edit);

    std::function<void()> OnEnter;
    std::function<void()> OnMouseEnter;
    std::function<void(char32_t& key)> OnKeyPress;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
