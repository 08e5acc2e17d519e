#include "digit_boxes.h"

#include "digit_filter.h"
#include "edit_events.h"
#include "message_box.h"
#include "path_text.h"

#include <QLineEdit>

void BindDigitBox(QLineEdit* edit) {
    auto* events = new TEditEvents(edit);
    events->OnEnter = [edit] { MaskEditDeltaEnter(edit); };
    events->OnKeyPress = [edit](char32_t& key) { MaskEditDeltaKeyPress(key, edit->window()); };
}

void MaskEditDeltaEnter(QLineEdit* sender) {
    sender->clear();
}

void MaskEditDeltaKeyPress(char32_t& key, QWidget* window) {
    if (!DigitKeyAccepted(key))
        RefuseKey(key, window);
}

void RefuseKey(char32_t& key, QWidget* window) {
    key = 0;
    ShowMessage(FromUtf8(kNotDigitMessage), window);
}
