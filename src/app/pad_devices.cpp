#include "pad_devices.h"

namespace ts {

PadDevices::PadDevices(QObject* parent) : QObject(parent), sdl_(std::make_unique<SdlPads>()) {
    timer_.setInterval(10);
    connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
    if (sdl_->available()) timer_.start();
}

PadDevices::~PadDevices() = default;

void PadDevices::poll() {
    for (const PadEvent& e : sdl_->poll()) {
        switch (e.kind) {
            case PadEvent::Kind::Connected:
                if (active_ < 0) {
                    for (const PadDeviceInfo& d : sdl_->devices())
                        if (d.id == e.device) {
                            active_ = e.device;
                            activeInfo_ = d;
                            if (onConnected) onConnected(d);
                        }
                }
                break;
            case PadEvent::Kind::Disconnected:
                if (e.device == active_) {
                    active_ = -1;
                    if (onDisconnected) onDisconnected(activeInfo_);
                    // The next controller waiting takes over, its levers read afresh.
                    const auto left = sdl_->devices();
                    if (!left.empty()) {
                        active_ = left.front().id;
                        activeInfo_ = left.front();
                        if (onConnected) onConnected(left.front());
                        for (int a = 0; a < left.front().axes; ++a)
                            if (onAxis) onAxis(a, sdl_->axisValue(active_, a));
                    }
                }
                break;
            case PadEvent::Kind::Axis:
                if (e.device == active_ && onAxis) onAxis(e.index, e.value);
                break;
            case PadEvent::Kind::Button:
                if (e.device == active_ && onButton) onButton(e.index, e.value != 0);
                break;
        }
        if (onAnyEvent) onAnyEvent(e);
    }
}

}  // namespace ts
