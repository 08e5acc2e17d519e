#pragma once
// The number boxes that take digits only and start empty when the focus enters them (the correction
// window's span and the autotuning intervals and idle limits). MaskEditDelta's handlers serve them all.

class QLineEdit;
class QWidget;

// Binds both handlers to the box.
void BindDigitBox(QLineEdit* edit);
void MaskEditDeltaEnter(QLineEdit* sender);
// Drops a key that is not a digit (sets it to 0) and tells the user why.
void MaskEditDeltaKeyPress(char32_t& key, QWidget* window);
// The refusal both kinds of number box give.
void RefuseKey(char32_t& key, QWidget* window);
