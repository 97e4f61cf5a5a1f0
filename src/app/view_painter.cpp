#include "view_painter.h"

#include <QMetaObject>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace ts {

struct PaintSignal {
    std::mutex m;
    std::condition_variable cv;
    bool woken = false;
    bool stopping = false;
    bool painted = false;
    QObject* owner = nullptr;
    std::function<void()> paint;
};

std::shared_ptr<PaintSignal> ViewPainter::makeSignal() { return std::make_shared<PaintSignal>(); }

void ViewPainter::wake(PaintSignal& s) {
    {
        std::lock_guard lock(s.m);
        s.woken = true;
    }
    s.cv.notify_all();
}

namespace {

void loop(const std::shared_ptr<PaintSignal>& s) {
    using Clock = std::chrono::steady_clock;
    using std::chrono::milliseconds;
    auto last = Clock::now() - milliseconds(100);
    for (;;) {
        {
            std::unique_lock lock(s->m);
            // A new frame, or 33 ms since the last paint; but never sooner than 15 ms after it.
            s->cv.wait_until(lock, last + milliseconds(33), [&] { return s->woken || s->stopping; });
            if (s->stopping) return;
            s->cv.wait_until(lock, last + milliseconds(15), [&] { return s->stopping; });
            if (s->stopping) return;
            s->woken = false;
            s->painted = false;
        }
        last = Clock::now();
        // A request still queued when the painter is gone finds `stopping` set and does nothing.
        QMetaObject::invokeMethod(
            s->owner,
            [s] {
                {
                    std::lock_guard lock(s->m);
                    if (s->stopping) return;
                }
                s->paint();
                std::lock_guard lock(s->m);
                s->painted = true;
                s->cv.notify_all();
            },
            Qt::QueuedConnection);
        std::unique_lock lock(s->m);
        s->cv.wait(lock, [&] { return s->painted || s->stopping; });
        if (s->stopping) return;
    }
}

}  // namespace

ViewPainter::ViewPainter(QObject* owner, std::function<void()> paint, std::shared_ptr<PaintSignal> signal)
    : signal_(std::move(signal)) {
    signal_->owner = owner;
    signal_->paint = std::move(paint);
    {
        std::lock_guard lock(signal_->m);
        signal_->stopping = false;
    }
    thread_ = std::thread([s = signal_] { loop(s); });
}

ViewPainter::~ViewPainter() {
    {
        std::lock_guard lock(signal_->m);
        signal_->stopping = true;
    }
    signal_->cv.notify_all();
    thread_.join();
}

}  // namespace ts
