#include "run/input_devices.h"

#include <algorithm>
#include <deque>
#include <mutex>

#include "drive_script.h"
#include "run/driving_run.h"

namespace ts {

namespace {

// Registrations run at static initialisation and lookups on any thread that
// parses a script, so the list is guarded; it only grows, and a deque keeps
// the entries where they are for the pointers handed out.
struct Registry {
    std::mutex mutex;
    std::deque<InputDevice> devices;
};

Registry& registry() {
    static Registry r;
    return r;
}

bool validWord(const std::string& word) {
    return !word.empty() && std::all_of(word.begin(), word.end(), [](unsigned char ch) {
        return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '-';
    });
}

// What a script line can hold after its word: no line end, no other control characters.
bool printable(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](unsigned char ch) { return ch >= 0x20 && ch != 0x7F; });
}

}  // namespace

bool registerInputDevice(const InputDevice& device) {
    if (!validWord(device.word) || isScriptCommandWord(device.word) || !device.accepts || !device.translate)
        return false;
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    for (const InputDevice& d : r.devices)
        if (d.word == device.word) return false;
    r.devices.push_back(device);
    return true;
}

const InputDevice* findInputDevice(const std::string& word) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    for (const InputDevice& d : r.devices)
        if (d.word == word) return &d;
    return nullptr;
}

bool deviceInput(DrivingRun& run, const InputDevice& device, const std::string& arguments) {
    if (!printable(arguments) || !device.accepts(arguments)) return false;
    run.dispatch(arguments.empty() ? device.word : device.word + " " + arguments,
                 [&](const Run& r, PanelModel&) { return device.translate(arguments, r); });
    return true;
}

}  // namespace ts
