#pragma once
// A menu bar item is a stand-in for its action: it may carry its own caption or be hidden, but it
// always follows the action's enabled state and executes the action, so disabling an action disables
// it in every menu bar at once.

#include <QString>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

// The action a menu bar item stands for; tests and the language switch reach it through this.
inline constexpr const char* ItemActionProperty = "zarniAction";

QAction* AddItem(QWidget* menu, QAction* action, const QString& caption = {}, bool hidden = false);
QMenu* AddSubMenu(QMenuBar* bar, const QString& caption, bool hidden = false);
// "&Tab1" for the first action, "T&ab2" for the second.
void AddTabPair(QMenu* menu, QAction* tab1, QAction* tab2);
