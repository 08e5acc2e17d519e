#include "zarni_broadcaster.h"

void TZarniBroadcaster::AddListener(TListener* listener) {
    listeners.push_back(listener);
}

void TZarniBroadcaster::Broadcast(TMessage& message) {
    currentMessage = &message;
    for (std::size_t i = 0; i < listeners.size(); ++i)
        listeners[i]->Dispatch(message);
}
