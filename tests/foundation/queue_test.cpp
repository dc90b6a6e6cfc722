#include "platform/foundation/foundation.h"

#include <gtest/gtest.h>

namespace {

void after(double seconds, std::function<void()> block) {
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, secondsToNanos(seconds)),
                   dispatch_get_main_queue(), std::move(block));
}

// Counts its destructions; one made with `chained` autoreleases another as it goes.
struct Tracked : NSObject {
    static int destroyed;
    bool chained = false;
    ~Tracked() override {
        destroyed++;
        if (chained) autorelease(Ref<Tracked>::adopt(new Tracked()));
    }
};
int Tracked::destroyed = 0;

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

// Blocks a running block schedules for its own due time go after the ones already waiting for
// it, in the order they were scheduled; a time already past runs now, never turning the clock back.
TEST(MainQueue, WorkScheduledWhileRunningKeepsItsPlace) {
    auto& q = MainQueue::shared();
    q.reset();
    std::string log;
    after(0.1, [&] {
        log += "a";
        after(0, [&] { log += "c"; });
        dispatch_async(dispatch_get_main_queue(), [&] { log += "d"; });
        dispatch_after(secondsToNanos(0.05), dispatch_get_main_queue(),
                       [&] { log += "e@" + std::to_string(q.nowNanos() / NSEC_PER_MSEC); });
        after(0.05, [&] { log += "g"; });
    });
    after(0.1, [&] { log += "b"; });
    after(0.15, [&] { log += "f"; });
    q.runUntil(secondsToNanos(0.1));
    EXPECT_EQ(log, "abcde@100");
    q.runFor(1);
    EXPECT_EQ(log, "abcde@100fg");
}

// A turn ends with the host's end-of-turn work, then the autorelease drain: what a task
// autoreleases lives through that task and its observers and is gone before the next task.
TEST(MainQueue, EachTurnEndsWithObserversThenTheAutoreleaseDrain) {
    auto& q = MainQueue::shared();
    q.reset();
    Tracked::destroyed = 0;
    std::vector<std::string> log;
    auto note = [&](const char* who) { log.push_back(who + std::to_string(Tracked::destroyed)); };
    q.addTurnObserver([&] { note("observer "); });
    dispatch_async(dispatch_get_main_queue(), [&] {
        Ref<Tracked> first = Ref<Tracked>::adopt(new Tracked());
        first->chained = true;
        autorelease(first);
        first = nullptr;
        note("task ");
    });
    dispatch_async(dispatch_get_main_queue(), [&] { note("next "); });
    q.runPending();
    // The object the drain's release autoreleased is drained in the same turn end.
    EXPECT_EQ(log, (std::vector<std::string>{"task 0", "observer 0", "next 2", "observer 2"}));
    // Outside a task the host ends the turn itself.
    autorelease(Ref<Tracked>::adopt(new Tracked()));
    EXPECT_EQ(Tracked::destroyed, 2);
    q.endTurn();
    EXPECT_EQ(Tracked::destroyed, 3);
}
