#pragma once
// The program's modal message box under its name: the text exactly as given, one OK button.

#include <QString>

class QWidget;

void ShowMessage(const QString& text, QWidget* parent = nullptr);
