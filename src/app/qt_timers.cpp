#include "qt_timers.h"

#include <QTimer>

#include "program_end.h"

namespace ts {

namespace {

class UiTimer final : public PeriodicTimer {
public:
    UiTimer(int periodMs, std::function<void()> tick) {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(periodMs);
        QObject::connect(&timer_, &QTimer::timeout, [t = std::move(tick)] { guarded(t); });
    }
    void start() override { timer_.start(); }
    void stop() override { timer_.stop(); }
    bool enabled() const override { return timer_.isActive(); }

private:
    QTimer timer_;
};

}  // namespace

std::unique_ptr<PeriodicTimer> QtTimerFactory::create(int periodMs, TimerThread thread, std::function<void()> tick) {
    if (thread == TimerThread::Ui) return std::make_unique<UiTimer>(periodMs, std::move(tick));
    return makeThreadTimer(periodMs, [t = std::move(tick)] { guarded(t); });
}

}  // namespace ts
