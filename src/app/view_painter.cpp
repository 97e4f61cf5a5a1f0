#include "view_painter.h"

#include <QMetaObject>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace ts {

// What the thread and the queued paint requests share; a request still queued
// when the painter is gone finds `stopping` set and does nothing.
struct ViewPainter::Shared {
    QObject* owner;
    std::function<void()> paint;
    std::mutex m;
    std::condition_variable cv;
    bool stopping = false;
    bool painted = false;
};

namespace {

void loop(const std::shared_ptr<ViewPainter::Shared>& s) {
    using Clock = std::chrono::steady_clock;
    for (;;) {
        const auto t0 = Clock::now();
        {
            std::lock_guard lock(s->m);
            if (s->stopping) return;
            s->painted = false;
        }
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
        // Sleep what is left of the 33 ms after the painting.
        s->cv.wait_until(lock, t0 + std::chrono::milliseconds(33), [&] { return s->stopping; });
        if (s->stopping) return;
    }
}

}  // namespace

ViewPainter::ViewPainter(QObject* owner, std::function<void()> paint)
    : shared_(std::make_shared<Shared>()) {
    shared_->owner = owner;
    shared_->paint = std::move(paint);
    thread_ = std::thread([s = shared_] { loop(s); });
}

ViewPainter::~ViewPainter() {
    {
        std::lock_guard lock(shared_->m);
        shared_->stopping = true;
    }
    shared_->cv.notify_all();
    thread_.join();
}

}  // namespace ts
