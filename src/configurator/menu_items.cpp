#include "menu_items.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QVariant>

QAction* AddItem(QWidget* menu, QAction* action, const QString& caption, bool hidden) {
    auto* item = new QAction(caption.isEmpty() ? action->text() : caption, menu);
    item->setProperty(ItemActionProperty, QVariant::fromValue<QObject*>(action));
    item->setEnabled(action->isEnabled());
    item->setVisible(!hidden);
    QObject::connect(action, &QAction::enabledChanged, item, &QAction::setEnabled);
    QObject::connect(item, &QAction::triggered, action, &QAction::trigger);
    menu->addAction(item);
    return item;
}

QMenu* AddSubMenu(QMenuBar* bar, const QString& caption, bool hidden) {
    auto* menu = bar->addMenu(caption);
    menu->menuAction()->setVisible(!hidden);
    return menu;
}

void AddTabPair(QMenu* menu, QAction* tab1, QAction* tab2) {
    AddItem(menu, tab1, "&Tab1");
    AddItem(menu, tab2, "T&ab2");
}
