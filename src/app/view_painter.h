// TAviPaint: the painting thread of a driving window. About every 33 ms it
// hands the paint routine to the user-interface thread and waits for it,
// sleeping what is left of the 33 ms after the painting.
#pragma once
#include <QObject>
#include <functional>
#include <memory>
#include <thread>

namespace ts {

class ViewPainter {
public:
    // `paint` runs on the thread of `owner` (the user-interface thread).
    ViewPainter(QObject* owner, std::function<void()> paint);
    // Tells the thread to stop and waits for it.
    ~ViewPainter();

    struct Shared;

private:
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};

}  // namespace ts
