// The real timers of the driving window: the 33 ms step on a thread of its
// own, the 100 ms step on a Qt timer of the user-interface thread.
#pragma once
#include "devices/timers.h"

namespace ts {

class QtTimerFactory final : public TimerFactory {
public:
    std::unique_ptr<PeriodicTimer> create(int periodMs, TimerThread thread, std::function<void()> tick) override;
};

}  // namespace ts
