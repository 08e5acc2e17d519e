#pragma once
// The timers a window holds, counted through the objects that own them: the QTimer objects in its
// tree, and every timer the main thread's event dispatcher runs for an object of the window, of any
// top-level window (message boxes, the progress window) or for the application itself. The second
// also counts timers started with startTimer or QBasicTimer (animations, the plots' own).

class QObject;

struct TimerCensus {
    int timerObjects = 0;       // QTimer objects among the window's descendants
    int activeTimerObjects = 0; // of them running
    int dispatcherTimers = 0;   // registered with the main thread's dispatcher for the objects above
};

// Main thread.
TimerCensus TakeTimerCensus(const QObject& window);
