// The adapters of the keyboard, the mouse wheel, the serial controller and
// game controllers: each names its script line and turns what it received
// into driver commands through the one command entry, dispatch().
#include "controls/driver_commands.h"
#include "drive_script.h"
#include "run/driving_run.h"

namespace ts {

namespace {
std::string keyName(Key key) {
    if (key == Key::Enter) return "Enter";
    if (key == Key::ScrollLock) return "ScrollLock";
    return "F" + std::to_string(int(key) - int(Key::F1) + 1);
}
}  // namespace

void DrivingRun::AsciiDown(char c) {
    dispatch(charCommand(c), [c](const Run& run, PanelModel&) {
        // Scroll Lock swaps the keypad's up and down.
        char typed = c;
        if (run.keypadInverted == 1) {
            if (typed == '2')
                typed = '8';
            else if (typed == '8')
                typed = '2';
        }
        return commandsForCharacter(typed, run);
    });
}

void DrivingRun::keydowns(Key key, ShiftState shift) {
    // Other keys do nothing here: their characters come on their own.
    const std::string line =
        key != Key::Other ? keyCommand(keyName(key), shift.shift, shift.ctrl, shift.alt, shift.mouseButton) : "";
    dispatch(line, [key, shift](const Run&, PanelModel&) { return commandsForKey(key, shift); });
}

void DrivingRun::WheelD() {
    dispatch("wheel down", [](const Run&, PanelModel&) { return commandsForWheel(true); });
}

void DrivingRun::WheelU() {
    dispatch("wheel up", [](const Run&, PanelModel&) { return commandsForWheel(false); });
}

void DrivingRun::RxChar(const std::string& message) {
    dispatch(serialCommand(message), [&message](const Run& run, PanelModel& panel) {
        // The last message shows in the value display's caption.
        panel.valueDisplayCaption = message;
        return commandsForControllerMessage(message, run.controllerCodes, run, run.brakeNotchCount);
    });
}

void DrivingRun::padAxis(GamePad& pad, int axis, int value) {
    // Every value is recorded: the lever's place matters even when it gives no command.
    dispatch("pad axis " + std::to_string(axis) + " " + std::to_string(value),
             [&pad, axis, value](const Run& run, PanelModel&) {
                 return pad.axis(axis, value, handleRanges(run, run.brakeNotchCount));
             });
}

void DrivingRun::padButton(GamePad& pad, int button, bool down) {
    dispatch("pad button " + std::to_string(button) + (down ? " down" : " up"),
             [&pad, button, down](const Run& run, PanelModel&) {
                 return pad.button(button, down, handleRanges(run, run.brakeNotchCount));
             });
}

void DrivingRun::padConnected(const std::string& guid) {
    std::lock_guard lock(mutex_);
    record(guid.empty() ? std::string("pad connect") : "pad connect " + guid);
}

void DrivingRun::padDisconnected() {
    std::lock_guard lock(mutex_);
    record("pad disconnect");
}

}  // namespace ts
