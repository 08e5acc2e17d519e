#pragma once
// The in-process message bus joining the main window, the serial link and the live data object.
// Delivery is synchronous, on the main thread only, in registration order.

#include "messages.h"

#include <vector>

class TListener {
public:
    virtual ~TListener() = default;
    // Handles the identifiers the listener knows; any other identifier is ignored.
    virtual void Dispatch(TMessage& message) = 0;
};

class TZarniBroadcaster {
public:
    // Appends without a duplicate check; listeners are never removed and not owned.
    void AddListener(TListener* listener);

    // Delivers the record itself (no copy) to every listener in order. The listener count is read
    // again before each step, so a listener added during a broadcast is reached. An exception from
    // a listener ends delivery and reaches the caller.
    void Broadcast(TMessage& message);

    const std::vector<TListener*>& Listeners() const { return listeners; }
    TMessage* CurrentMessage() const { return currentMessage; }

private:
    std::vector<TListener*> listeners;
    TMessage* currentMessage = nullptr;
};
