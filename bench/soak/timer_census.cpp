#include "timer_census.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QSet>
#include <QTimer>
#include <QWidget>

namespace {

void addTree(QObject* root, QSet<QObject*>& objects) {
    objects.insert(root);
    for (QObject* child : root->findChildren<QObject*>())
        objects.insert(child);
}

} // namespace

TimerCensus TakeTimerCensus(const QObject& window) {
    TimerCensus census;
    const QList<QTimer*> timers = window.findChildren<QTimer*>();
    census.timerObjects = static_cast<int>(timers.size());
    for (const QTimer* timer : timers)
        census.activeTimerObjects += timer->isActive() ? 1 : 0;

    QSet<QObject*> owners;
    addTree(const_cast<QObject*>(&window), owners);
    for (QWidget* topLevel : QApplication::topLevelWidgets())
        addTree(topLevel, owners);
    addTree(QCoreApplication::instance(), owners);
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    for (QObject* owner : owners)
        census.dispatcherTimers += static_cast<int>(dispatcher->registeredTimers(owner).size());
    return census;
}
