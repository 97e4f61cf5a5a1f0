// A clock in whole virtual milliseconds that stands in for the periodic
// timers in the headless drive mode: nothing depends on wall-clock time.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "devices/timers.h"

namespace ts {

class VirtualClock final : public TimerFactory {
public:
    std::unique_ptr<PeriodicTimer> create(int periodMs, TimerThread thread, std::function<void()> tick) override;

    int64_t now() const { return now_; }
    // Moves the clock to `t` without running anything (t never goes back).
    void setNow(int64_t t);
    // The earliest time a running timer is due, if any runs.
    std::optional<int64_t> nextDue() const;
    // At the current time, runs the ticks that are due: first the timers of
    // their own thread (with `afterOwnTick` after each), then the
    // user-interface timers, each in creation order.
    void runDue(const std::function<void()>& afterOwnTick);

    struct Slot {
        int period;
        TimerThread thread;
        std::function<void()> tick;
        bool enabled = false;
        int64_t next = 0;
        bool alive = true;
    };

private:
    int64_t now_ = 0;
    std::vector<std::shared_ptr<Slot>> slots_;
};

}  // namespace ts
