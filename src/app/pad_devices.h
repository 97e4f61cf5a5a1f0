// The game controllers of a driving window: polls SDL from a timer on the
// user-interface thread and hands the events of the controller in use (the
// first connected) to the window. Others wait their turn.
#pragma once
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

#include "sdl_pads.h"

namespace ts {

class PadDevices : public QObject {
    Q_OBJECT
public:
    explicit PadDevices(QObject* parent = nullptr);
    ~PadDevices() override;

    SdlPads& sdl() { return *sdl_; }
    // The controller in use, or -1.
    int active() const { return active_; }
    void stop() { timer_.stop(); }

    std::function<void(const PadDeviceInfo&)> onConnected, onDisconnected;
    std::function<void(int axis, int value)> onAxis;
    std::function<void(int button, bool down)> onButton;
    // Every event of every device, after the above (the mapping dialog).
    std::function<void(const PadEvent&)> onAnyEvent;

    // Polls now (the timer does so every 10 ms).
    void poll();

private:
    std::unique_ptr<SdlPads> sdl_;
    QTimer timer_;
    int active_ = -1;
    PadDeviceInfo activeInfo_;
};

}  // namespace ts
