#include "platform/foundation/foundation.h"

#include <gtest/gtest.h>

namespace {
void after(double seconds, std::function<void()> block) {
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, secondsToNanos(seconds)),
                   dispatch_get_main_queue(), std::move(block));
}
} // namespace

TEST(MainQueue, RunsByDueTimeThenSchedulingOrder) {
    auto& q = MainQueue::shared();
    q.reset();
    std::vector<std::string> log;
    after(0.3, [&] { log.push_back("c@" + std::to_string(q.nowNanos())); });
    after(0.1, [&] { log.push_back("a"); });
    after(0.1, [&] { log.push_back("b"); });
    after(0.0, [&] { log.push_back("now"); });
    q.runFor(0.2);
    EXPECT_EQ(log, (std::vector<std::string>{"now", "a", "b"}));
    EXPECT_EQ(q.nowNanos(), 200 * NSEC_PER_MSEC);
    q.runFor(1);
    EXPECT_EQ(log.back(), "c@300000000");
    EXPECT_EQ(q.nowNanos(), 1200 * NSEC_PER_MSEC);
}

TEST(MainQueue, WorkScheduledWhileRunningRunsWhenDue) {
    auto& q = MainQueue::shared();
    q.reset();
    std::vector<double> at;
    after(0.1, [&] {
        at.push_back(q.now());
        after(0.1, [&] { at.push_back(q.now()); });
        after(5, [&] { at.push_back(q.now()); });
    });
    q.runUntil(secondsToNanos(0.25));
    ASSERT_EQ(at.size(), 2u);
    EXPECT_DOUBLE_EQ(at[1], 0.2);
    q.runFor(5);
    ASSERT_EQ(at.size(), 3u);
    EXPECT_DOUBLE_EQ(at[2], 5.1);
}

TEST(MainQueue, TurnObserversRunAfterEveryTask) {
    auto& q = MainQueue::shared();
    q.reset();
    int tasks = 0, turns = 0;
    q.addTurnObserver([&] { turns++; });
    dispatch_async(dispatch_get_main_queue(), [&] { tasks++; });
    dispatch_async(dispatch_get_main_queue(), [&] { tasks++; });
    q.runPending();
    EXPECT_EQ(tasks, 2);
    EXPECT_EQ(turns, 2);
}
