// Periodic timers as the driving window uses them: the 33 ms step on a thread
// of its own, the 100 ms step on the user-interface thread. A factory makes
// them, so that the headless drive mode can put a virtual clock in their place.
#pragma once
#include <functional>
#include <memory>

namespace ts {

class PeriodicTimer {
public:
    virtual ~PeriodicTimer() = default;
    virtual void start() = 0;
    // Stops the timer; when it returns no tick is running or will run.
    virtual void stop() = 0;
    virtual bool enabled() const = 0;
};

enum class TimerThread { Own, Ui };

class TimerFactory {
public:
    virtual ~TimerFactory() = default;
    virtual std::unique_ptr<PeriodicTimer> create(int periodMs, TimerThread thread, std::function<void()> tick) = 0;
};

// A timer whose ticks run on a thread of its own, on absolute deadlines.
std::unique_ptr<PeriodicTimer> makeThreadTimer(int periodMs, std::function<void()> tick);

}  // namespace ts
