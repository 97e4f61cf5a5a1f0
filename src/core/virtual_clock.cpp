#include "virtual_clock.h"

#include <algorithm>

namespace ts {

namespace {

class VirtualTimer final : public PeriodicTimer {
public:
    VirtualTimer(std::shared_ptr<VirtualClock::Slot> slot, const VirtualClock& clock)
        : slot_(std::move(slot)), clock_(clock) {}
    ~VirtualTimer() override { slot_->alive = false; }
    void start() override {
        if (slot_->enabled) return;
        slot_->enabled = true;
        slot_->next = clock_.now() + slot_->period;
    }
    void stop() override { slot_->enabled = false; }
    bool enabled() const override { return slot_->enabled; }

private:
    std::shared_ptr<VirtualClock::Slot> slot_;
    const VirtualClock& clock_;
};

}  // namespace

std::unique_ptr<PeriodicTimer> VirtualClock::create(int periodMs, TimerThread thread, std::function<void()> tick) {
    auto slot = std::make_shared<Slot>();
    slot->period = periodMs;
    slot->thread = thread;
    slot->tick = std::move(tick);
    slots_.push_back(slot);
    return std::make_unique<VirtualTimer>(slot, *this);
}

void VirtualClock::setNow(int64_t t) { now_ = std::max(now_, t); }

std::optional<int64_t> VirtualClock::nextDue() const {
    std::optional<int64_t> due;
    for (const auto& s : slots_)
        if (s->alive && s->enabled && (!due || s->next < *due)) due = s->next;
    return due;
}

void VirtualClock::runDue(const std::function<void()>& afterOwnTick) {
    // Copy: a tick may create or destroy timers.
    const auto slots = slots_;
    for (TimerThread pass : {TimerThread::Own, TimerThread::Ui}) {
        for (const auto& s : slots) {
            if (!s->alive || !s->enabled || s->thread != pass || s->next != now_) continue;
            s->next += s->period;
            s->tick();
            if (pass == TimerThread::Own && afterOwnTick) afterOwnTick();
        }
    }
    std::erase_if(slots_, [](const auto& s) { return !s->alive; });
}

}  // namespace ts
