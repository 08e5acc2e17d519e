#include "zarni_broadcaster.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Records what reached it, in a journal shared by all listeners of a test.
class RecordingListener : public TListener {
public:
    RecordingListener(std::string name, std::vector<std::string>& journal)
        : name(std::move(name)), journal(journal) {}
    void Dispatch(TMessage& message) override {
        journal.push_back(name + ":" + std::to_string(message.Msg));
        seen.push_back(&message);
        if (onDispatch)
            onDispatch(message);
    }
    std::string name;
    std::vector<std::string>& journal;
    std::vector<TMessage*> seen;
    std::function<void(TMessage&)> onDispatch;
};

TEST(ZarniBroadcaster, DeliversTheSameRecordToEveryListenerInRegistrationOrder) {
    std::vector<std::string> journal;
    RecordingListener form("form", journal), link("link", journal), log("log", journal);
    TZarniBroadcaster bus;
    bus.AddListener(&form);
    bus.AddListener(&link);
    bus.AddListener(&log);

    TMsgDashData dash;
    dash.Rpm = 3100;
    bus.Broadcast(dash);
    TMsgLogStop stop;
    bus.Broadcast(stop);

    EXPECT_EQ(journal, (std::vector<std::string>{"form:32774", "link:32774", "log:32774", "form:32772",
                                                 "link:32772", "log:32772"}));
    EXPECT_EQ(form.seen.front(), &dash) << "the record must not be copied";
    EXPECT_EQ(log.seen.front(), &dash);
    EXPECT_EQ(bus.CurrentMessage(), &stop);
}

TEST(ZarniBroadcaster, ListenerAddedDuringBroadcastIsReachedByThatBroadcast) {
    std::vector<std::string> journal;
    RecordingListener first("first", journal), late("late", journal);
    TZarniBroadcaster bus;
    bus.AddListener(&first);
    first.onDispatch = [&](TMessage&) {
        if (bus.Listeners().size() == 1)
            bus.AddListener(&late);
    };
    TMsgLogStart start(2);
    bus.Broadcast(start);
    EXPECT_EQ(journal, (std::vector<std::string>{"first:32771", "late:32771"}));
}

TEST(ZarniBroadcaster, ThrowingListenerStopsDeliveryAndTheSenderSeesTheException) {
    std::vector<std::string> journal;
    RecordingListener form("form", journal), link("link", journal), log("log", journal);
    link.onDispatch = [](TMessage&) { throw std::runtime_error("port failed"); };
    TZarniBroadcaster bus;
    bus.AddListener(&form);
    bus.AddListener(&link);
    bus.AddListener(&log);

    TMsgSetComPort port("COM1");
    EXPECT_THROW(
        {
            try {
                bus.Broadcast(port);
            } catch (const std::runtime_error& e) {
                EXPECT_STREQ(e.what(), "port failed");
                throw;
            }
        },
        std::runtime_error);
    EXPECT_EQ(journal, (std::vector<std::string>{"form:32773", "link:32773"}));
}

TEST(ZarniBroadcaster, DuplicateRegistrationDeliversTwice) {
    std::vector<std::string> journal;
    RecordingListener form("form", journal);
    TZarniBroadcaster bus;
    bus.AddListener(&form);
    bus.AddListener(&form);
    TMsgSmoothingStep step(255);
    bus.Broadcast(step);
    EXPECT_EQ(journal.size(), 2u);
}

TEST(MessageRecords, IdentifiersAndDefaults) {
    EXPECT_EQ(TMsgLogStart().Msg, 0x8003u);
    EXPECT_EQ(TMsgLogStop().Msg, 0x8004u);
    EXPECT_EQ(TMsgSetComPort("COM3").Msg, 0x8005u);
    EXPECT_EQ(TMsgDashData().Msg, 0x8006u);
    EXPECT_EQ(TMsgAutocorrStep().Msg, 0x8007u);
    EXPECT_EQ(TMsgSmoothingStep().Msg, 0x8008u);
}

} // namespace
