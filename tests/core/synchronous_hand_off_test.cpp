#include "fake_main_thread.h"
#include "synchronous_hand_off.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

namespace {

using namespace std::chrono_literals;

class HandOffTest : public ::testing::Test {
protected:
    FakeMainThread mainThread;
    SynchronousHandOff handOff{
        [this](std::function<void()> task) { mainThread.PostToMainThread(std::move(task)); }};
    std::atomic<int> runs{0};

    std::future<bool> RunOnWorker() {
        return std::async(std::launch::async, [this] { return handOff.Run([this] { ++runs; }); });
    }
    void WaitUntilQueued() {
        while (mainThread.Queued() == 0)
            std::this_thread::sleep_for(1ms);
    }
};

} // namespace

TEST_F(HandOffTest, RunWaitsUntilTheMainThreadHasRunTheAction) {
    auto result = RunOnWorker();
    WaitUntilQueued();
    EXPECT_EQ(result.wait_for(20ms), std::future_status::timeout);
    mainThread.RunPending();
    EXPECT_TRUE(result.get());
    EXPECT_EQ(runs, 1);
}

TEST_F(HandOffTest, AbandonFreesTheWorkerAndDropsTheAction) {
    auto result = RunOnWorker();
    WaitUntilQueued();
    handOff.Abandon();
    EXPECT_FALSE(result.get());
    mainThread.RunPending();
    EXPECT_EQ(runs, 0);
}

TEST_F(HandOffTest, AbandonWhileTheActionRunsFreesTheWorkerAndTheActionFinishes) {
    std::promise<void> actionEntered;
    std::atomic<bool> actionFinished{false};
    auto result = std::async(std::launch::async, [&] {
        return handOff.Run([&] {
            actionEntered.set_value();
            // A nested event loop: the worker is abandoned meanwhile, and must not wait for this.
            std::this_thread::sleep_for(50ms);
            actionFinished = true;
        });
    });
    std::thread mainThreadRunner([&] { mainThread.RunUntil([&] { return actionFinished.load(); }, 5s); });
    actionEntered.get_future().wait();
    handOff.Abandon();
    EXPECT_FALSE(result.get());
    mainThreadRunner.join();
    EXPECT_TRUE(actionFinished);
}

TEST_F(HandOffTest, AfterAbandonRunPostsWithoutWaitingAndTheActionStillRuns) {
    handOff.Abandon();
    EXPECT_FALSE(RunOnWorker().get());
    mainThread.RunPending();
    EXPECT_EQ(runs, 1);
}

TEST_F(HandOffTest, CancelAllDropsWhatWasPostedAfterAbandon) {
    handOff.Abandon();
    EXPECT_FALSE(RunOnWorker().get());
    handOff.CancelAll();
    mainThread.RunPending();
    EXPECT_EQ(runs, 0);
}

TEST(HandOff, TasksOutlivingTheHandOffDoNothing) {
    FakeMainThread mainThread;
    std::atomic<int> runs{0};
    {
        SynchronousHandOff handOff(
            [&](std::function<void()> task) { mainThread.PostToMainThread(std::move(task)); });
        handOff.Abandon();
        handOff.Run([&] { ++runs; });
    }
    mainThread.RunPending();
    EXPECT_EQ(runs, 0);
}
