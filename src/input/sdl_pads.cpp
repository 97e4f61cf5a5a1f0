#include "sdl_pads.h"

#include <SDL.h>

#include "controls/pad_mapping.h"

namespace ts {

struct SdlPads::Device {
    PadDeviceInfo info;
    SDL_GameController* controller = nullptr;
    SDL_Joystick* joystick = nullptr;  // the controller's own, or the plain joystick
    std::vector<uint8_t> hats;         // last hat bits, to tell which direction changed
};

namespace {

// SDL's hat bits, in the order the hat buttons are numbered.
constexpr uint8_t kHatBits[4] = {SDL_HAT_UP, SDL_HAT_RIGHT, SDL_HAT_DOWN, SDL_HAT_LEFT};

}  // namespace

SdlPads::SdlPads() {
    // The simulator's window is Qt's; without this SDL drops input while it
    // does not hold the focus of a window of its own.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // SDL would take SIGINT and SIGTERM for a quit event nobody reads: the
    // program handles them itself.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER | SDL_INIT_JOYSTICK) != 0) {
        error_ = SDL_GetError();
        return;
    }
    available_ = true;
}

SdlPads::~SdlPads() {
    if (!available_) return;
    for (auto& [id, d] : devices_) {
        if (d->controller)
            SDL_GameControllerClose(d->controller);
        else if (d->joystick)
            SDL_JoystickClose(d->joystick);
        delete d;
    }
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER | SDL_INIT_JOYSTICK);
}

void SdlPads::open(int deviceIndex, std::vector<PadEvent>& out) {
    const int id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (id < 0 || devices_.count(id)) return;
    auto* d = new Device;
    if (SDL_IsGameController(deviceIndex)) {
        d->controller = SDL_GameControllerOpen(deviceIndex);
        if (d->controller) d->joystick = SDL_GameControllerGetJoystick(d->controller);
    }
    if (!d->joystick) d->joystick = SDL_JoystickOpen(deviceIndex);
    if (!d->joystick) {
        delete d;
        return;
    }
    char guid[64];
    SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(d->joystick), guid, sizeof guid);
    d->info.id = id;
    d->info.guid = guid;
    const char* name = d->controller ? SDL_GameControllerName(d->controller) : SDL_JoystickName(d->joystick);
    d->info.name = name ? name : "";
    d->info.gamepad = d->controller != nullptr;
    d->info.axes = d->controller ? int(SDL_CONTROLLER_AXIS_MAX) : SDL_JoystickNumAxes(d->joystick);
    d->info.buttons = d->controller ? int(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) + 1 : SDL_JoystickNumButtons(d->joystick);
    d->info.hats = d->controller ? 0 : SDL_JoystickNumHats(d->joystick);
    d->hats.assign(size_t(std::max(d->info.hats, 0)), 0);
    devices_[id] = d;
    out.push_back({PadEvent::Kind::Connected, id, 0, 0});
    for (int a = 0; a < d->info.axes; ++a) out.push_back({PadEvent::Kind::Axis, id, a, axisValue(id, a)});
}

void SdlPads::close(int id, std::vector<PadEvent>& out) {
    auto it = devices_.find(id);
    if (it == devices_.end()) return;
    Device* d = it->second;
    if (d->controller)
        SDL_GameControllerClose(d->controller);
    else
        SDL_JoystickClose(d->joystick);
    delete d;
    devices_.erase(it);
    out.push_back({PadEvent::Kind::Disconnected, id, 0, 0});
}

std::vector<PadEvent> SdlPads::poll() {
    std::vector<PadEvent> out;
    if (!available_) return out;
    SDL_Event e;
    // A device that goes away first "recentres" (its axes to 0, its buttons
    // up), and only then says it is gone: those events would move the handles
    // of a controller that vanished, so nothing counts from a detached device.
    auto attached = [&](int id, bool controller) {
        auto it = devices_.find(id);
        return it != devices_.end() && (it->second->controller != nullptr) == controller &&
               SDL_JoystickGetAttached(it->second->joystick);
    };
    auto isController = [&](int id) { return attached(id, true); };
    auto isJoystick = [&](int id) { return attached(id, false); };
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
            case SDL_JOYDEVICEADDED: open(e.jdevice.which, out); break;
            case SDL_JOYDEVICEREMOVED: close(e.jdevice.which, out); break;
            // A gamepad reports in the standard layout; its raw events are left aside.
            case SDL_CONTROLLERAXISMOTION:
                if (isController(e.caxis.which))
                    out.push_back({PadEvent::Kind::Axis, e.caxis.which, e.caxis.axis, e.caxis.value});
                break;
            case SDL_CONTROLLERBUTTONDOWN:
            case SDL_CONTROLLERBUTTONUP:
                if (isController(e.cbutton.which))
                    out.push_back({PadEvent::Kind::Button, e.cbutton.which, e.cbutton.button,
                                   e.type == SDL_CONTROLLERBUTTONDOWN});
                break;
            case SDL_JOYAXISMOTION:
                if (isJoystick(e.jaxis.which))
                    out.push_back({PadEvent::Kind::Axis, e.jaxis.which, e.jaxis.axis, e.jaxis.value});
                break;
            case SDL_JOYBUTTONDOWN:
            case SDL_JOYBUTTONUP:
                if (isJoystick(e.jbutton.which))
                    out.push_back(
                        {PadEvent::Kind::Button, e.jbutton.which, e.jbutton.button, e.type == SDL_JOYBUTTONDOWN});
                break;
            case SDL_JOYHATMOTION: {
                if (!isJoystick(e.jhat.which)) break;
                Device* d = devices_[e.jhat.which];
                if (e.jhat.hat >= d->hats.size()) break;
                const uint8_t before = d->hats[e.jhat.hat];
                d->hats[e.jhat.hat] = e.jhat.value;
                for (int dir = 0; dir < 4; ++dir) {
                    const bool was = before & kHatBits[dir], is = e.jhat.value & kHatBits[dir];
                    if (was != is)
                        out.push_back({PadEvent::Kind::Button, e.jhat.which, hatButton(e.jhat.hat, dir), is});
                }
                break;
            }
            default: break;
        }
    }
    return out;
}

std::vector<PadDeviceInfo> SdlPads::devices() const {
    std::vector<PadDeviceInfo> out;
    for (const auto& [id, d] : devices_) out.push_back(d->info);
    return out;
}

int SdlPads::axisValue(int device, int axis) const {
    auto it = devices_.find(device);
    if (it == devices_.end()) return 0;
    const Device* d = it->second;
    if (d->controller) return SDL_GameControllerGetAxis(d->controller, SDL_GameControllerAxis(axis));
    return SDL_JoystickGetAxis(d->joystick, axis);
}

bool SdlPads::buttonDown(int device, int button) const {
    auto it = devices_.find(device);
    if (it == devices_.end()) return false;
    const Device* d = it->second;
    if (button >= kHatButtonBase) {
        const int k = button - kHatButtonBase;
        if (d->controller || k / 4 >= int(d->hats.size())) return false;
        return SDL_JoystickGetHat(d->joystick, k / 4) & kHatBits[k % 4];
    }
    if (d->controller) return SDL_GameControllerGetButton(d->controller, SDL_GameControllerButton(button));
    return SDL_JoystickGetButton(d->joystick, button);
}

}  // namespace ts
