#include "edit_events.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

// A key press types a character when it carries text. Tab moves the focus and Delete edits; neither is
// a typed character, so neither reaches the key press handler.
bool TypesCharacter(const QKeyEvent& key) {
    switch (key.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return false;
    default:
        return !key.text().isEmpty();
    }
}

// The focus comes back to the edit when its window is activated again or a pop-up (a context menu)
// closes; that is not the focus entering it.
bool EntersFocus(const QFocusEvent& focus) {
    return focus.reason() != Qt::ActiveWindowFocusReason && focus.reason() != Qt::PopupFocusReason;
}

} // namespace

TEditEvents::TEditEvents(QLineEdit* edit) : QObject(edit) {
    edit->installEventFilter(this);
}

bool TEditEvents::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusIn:
        if (OnEnter && EntersFocus(static_cast<QFocusEvent&>(*event)))
            OnEnter();
        break;
    case QEvent::Enter:
        if (OnMouseEnter)
            OnMouseEnter();
        break;
    case QEvent::KeyPress: {
        auto& key = static_cast<QKeyEvent&>(*event);
        if (!OnKeyPress || !TypesCharacter(key))
            break;
        char32_t character = key.text().toUcs4().value(0);
        OnKeyPress(character);
        // A dropped key never reaches the edit.
        if (character == 0)
            return true;
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
