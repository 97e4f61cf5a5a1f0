#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "devices/timers.h"

namespace ts {

namespace {

class ThreadTimer final : public PeriodicTimer {
public:
    ThreadTimer(int periodMs, std::function<void()> tick) : period_(periodMs), tick_(std::move(tick)) {}
    ~ThreadTimer() override { stop(); }

    void start() override {
        if (thread_.joinable()) {
            bool stopped;
            {
                std::lock_guard lock(m_);
                stopped = stopping_;
            }
            if (!stopped) return;
            thread_.join();
        }
        {
            std::lock_guard lock(m_);
            stopping_ = false;
        }
        thread_ = std::thread([this] { loop(); });
    }

    void stop() override {
        if (!thread_.joinable()) return;
        if (thread_.get_id() == std::this_thread::get_id()) {
            // Asked from inside a tick: the loop ends after it; the thread is
            // joined by the next start() or by the destructor from another thread.
            std::lock_guard lock(m_);
            stopping_ = true;
            return;
        }
        {
            std::lock_guard lock(m_);
            stopping_ = true;
        }
        cv_.notify_all();
        thread_.join();
    }

    bool enabled() const override {
        std::lock_guard lock(m_);
        return thread_.joinable() && !stopping_;
    }

private:
    void loop() {
        auto next = std::chrono::steady_clock::now() + period_;
        std::unique_lock lock(m_);
        for (;;) {
            if (cv_.wait_until(lock, next, [this] { return stopping_; })) return;
            lock.unlock();
            tick_();
            lock.lock();
            if (stopping_) return;
            next += period_;
            const auto now = std::chrono::steady_clock::now();
            if (next < now - period_ * 10) next = now;  // after a long stall, do not race to catch up
        }
    }

    const std::chrono::milliseconds period_;
    std::function<void()> tick_;
    mutable std::mutex m_;
    std::condition_variable cv_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace

std::unique_ptr<PeriodicTimer> makeThreadTimer(int periodMs, std::function<void()> tick) {
    return std::make_unique<ThreadTimer>(periodMs, std::move(tick));
}

}  // namespace ts
