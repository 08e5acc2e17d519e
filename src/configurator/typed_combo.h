#pragma once
// A combo box with typed text whose change handler runs for a chosen item and for typed text alike.
// The selection follows the text: the item the text (completed inline) is, or nothing when it is
// none; Qt would keep the previous item selected instead.

#include <functional>

class QComboBox;
class QObject;

// change runs once for each new item chosen and once after each edit of the text.
void BindTypedSelection(QComboBox& combo, QObject* context, std::function<void()> change);
