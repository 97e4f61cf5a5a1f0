// Game controllers and joysticks through SDL's input subsystems alone (no
// window of SDL's): hot-plug, axes, buttons and hats as plain events for the
// game-controller layer of the core. Polled on the user-interface thread.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace ts {

struct PadDeviceInfo {
    int id = -1;  // SDL's instance id, stable while connected
    std::string guid, name;
    bool gamepad = false;  // a known gamepad: the standard layout's numbering
    int axes = 0, buttons = 0, hats = 0;
};

struct PadEvent {
    enum class Kind { Connected, Disconnected, Axis, Button };
    Kind kind = Kind::Axis;
    int device = -1;
    int index = 0;  // axis or button number; hat directions as buttons from kHatButtonBase
    int value = 0;  // axis value, or 1 down / 0 up
};

class SdlPads {
public:
    SdlPads();
    ~SdlPads();
    SdlPads(const SdlPads&) = delete;
    SdlPads& operator=(const SdlPads&) = delete;

    // False when SDL's joystick subsystem could not start; error() says why.
    bool available() const { return available_; }
    const std::string& error() const { return error_; }

    // Everything that happened since the last call, in order. A device that
    // connects is followed by the values its axes stand at.
    std::vector<PadEvent> poll();

    std::vector<PadDeviceInfo> devices() const;
    // The axis value now (for the live display); 0 for an unknown device.
    int axisValue(int device, int axis) const;
    bool buttonDown(int device, int button) const;

private:
    struct Device;
    void open(int deviceIndex, std::vector<PadEvent>& out);
    void close(int id, std::vector<PadEvent>& out);

    bool available_ = false;
    std::string error_;
    std::map<int, Device*> devices_;
};

}  // namespace ts
