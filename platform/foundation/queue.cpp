// The main queue on the virtual clock. Tasks are ordered by due time, then by the order in
// which they were scheduled; after each task the host's end-of-turn work runs.
#include "platform/foundation/foundation.h"

#include <algorithm>
#include <cmath>

namespace {
bool later(const auto& a, const auto& b) {
    return a.when != b.when ? a.when > b.when : a.order > b.order;
}
} // namespace

MainQueue& MainQueue::shared() {
    static auto* q = new MainQueue();
    return *q;
}

void MainQueue::schedule(std::int64_t when, std::function<void()> block) {
    tasks_.push_back(Task{std::max(when, now_), nextOrder_++, std::move(block)});
    std::push_heap(tasks_.begin(), tasks_.end(), [](auto& a, auto& b) { return later(a, b); });
}

std::int64_t MainQueue::nextDue() const {
    return tasks_.empty() ? -1 : tasks_.front().when;
}

void MainQueue::runUntil(std::int64_t when) {
    while (!tasks_.empty() && tasks_.front().when <= when) {
        std::pop_heap(tasks_.begin(), tasks_.end(), [](auto& a, auto& b) { return later(a, b); });
        Task task = std::move(tasks_.back());
        tasks_.pop_back();
        now_ = std::max(now_, task.when);
        task.block();
        endTurn();
    }
    now_ = std::max(now_, when);
}

void MainQueue::runFor(double seconds) {
    runUntil(now_ + secondsToNanos(seconds));
}

void MainQueue::addTurnObserver(std::function<void()> observer) {
    observers_.push_back(std::move(observer));
}

void MainQueue::endTurn() {
    if (inTurnEnd_) return;
    inTurnEnd_ = true;
    for (std::size_t i = 0; i < observers_.size(); i++)
        observers_[i]();
    objc_drainAutoreleasePool();
    inTurnEnd_ = false;
}

void MainQueue::reset() {
    tasks_.clear();
    observers_.clear();
    now_ = 0;
    nextOrder_ = 0;
}

std::int64_t secondsToNanos(double seconds) {
    if (!(seconds > 0)) return 0;
    if (seconds > 1e9) return std::int64_t(1e9) * NSEC_PER_SEC; // far enough to never arrive
    return std::llround(seconds * NSEC_PER_SEC);
}

struct dispatch_queue_s {};

dispatch_queue_t dispatch_get_main_queue() {
    static dispatch_queue_s main;
    return &main;
}

dispatch_time_t dispatch_time(dispatch_time_t when, std::int64_t deltaNanos) {
    std::int64_t base = when == DISPATCH_TIME_NOW ? MainQueue::shared().nowNanos() : when;
    return base + deltaNanos;
}

void dispatch_after(dispatch_time_t when, dispatch_queue_t, std::function<void()> block) {
    MainQueue::shared().schedule(when == DISPATCH_TIME_NOW ? MainQueue::shared().nowNanos() : when,
                                 std::move(block));
}

void dispatch_async(dispatch_queue_t, std::function<void()> block) {
    MainQueue::shared().async(std::move(block));
}
