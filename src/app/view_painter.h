// TAviPaint: the painting thread of a driving window. It hands the paint
// routine to the user-interface thread and waits for it: as soon as the
// simulation step has moved the train onto a new frame, and otherwise every
// 33 ms, never faster than one paint per 15 ms.
#pragma once
#include <QObject>
#include <functional>
#include <memory>
#include <thread>

namespace ts {

// Shared by the painting thread, the paint requests it queues and whoever wakes it.
struct PaintSignal;

class ViewPainter {
public:
    // `paint` runs on the thread of `owner` (the user-interface thread).
    ViewPainter(QObject* owner, std::function<void()> paint, std::shared_ptr<PaintSignal> signal);
    // Tells the thread to stop and waits for it.
    ~ViewPainter();

    // A wake-up handle; waking it from any thread makes the next paint come at once.
    static std::shared_ptr<PaintSignal> makeSignal();
    static void wake(PaintSignal& signal);

private:
    std::shared_ptr<PaintSignal> signal_;
    std::thread thread_;
};

}  // namespace ts
