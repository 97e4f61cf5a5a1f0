// The keyboard, the mouse wheel, the serial controller and game controllers:
// each turns what it received into driver commands for the dispatcher.
#include "controls/driver_commands.h"
#include "drive_script.h"
#include "driving_run.h"

namespace ts {

namespace {
std::string keyName(Key key) {
    if (key == Key::Enter) return "Enter";
    if (key == Key::ScrollLock) return "ScrollLock";
    return "F" + std::to_string(int(key) - int(Key::F1) + 1);
}
}  // namespace

void DrivingRun::AsciiDown(char c) {
    std::lock_guard lock(mutex_);
    record(charCommand(c));
    // Scroll Lock swaps the keypad's up and down.
    if (run_.keypadInverted == 1) {
        if (c == '2')
            c = '8';
        else if (c == '8')
            c = '2';
    }
    dispatch(commandsForCharacter(c, run_));
}

void DrivingRun::keydowns(Key key, ShiftState shift) {
    std::lock_guard lock(mutex_);
    // Other keys do nothing here: their characters come on their own.
    if (key != Key::Other) record(keyCommand(keyName(key), shift.shift, shift.ctrl, shift.alt, shift.mouseButton));
    dispatch(commandsForKey(key, shift));
}

void DrivingRun::WheelD() {
    std::lock_guard lock(mutex_);
    record("wheel down");
    dispatch(commandsForWheel(true));
}

void DrivingRun::WheelU() {
    std::lock_guard lock(mutex_);
    record("wheel up");
    dispatch(commandsForWheel(false));
}

void DrivingRun::RxChar(const std::string& message) {
    std::vector<PostedInput> posted;
    {
        std::lock_guard lock(mutex_);
        record(serialCommand(message));
        // The last message shows in the value display's caption.
        panel_.valueDisplayCaption = message;
        posted = dispatch(commandsForControllerMessage(message, run_.controllerCodes, run_, run_.brakeNotchCount));
    }
    // Posted input goes through the window's input queue, after this message.
    for (PostedInput p : posted) services_.host.postInput(p);
}

void DrivingRun::padAxis(GamePad& pad, int axis, int value) {
    std::lock_guard lock(mutex_);
    // Every value is recorded: the lever's place matters even when it gives no command.
    record("pad axis " + std::to_string(axis) + " " + std::to_string(value));
    const DriverInput in = pad.axis(axis, value, handleRanges(run_, run_.brakeNotchCount));
    // A lever that stays inside its position is no driver input.
    if (!in.commands.empty()) dispatch(in);
}

void DrivingRun::padButton(GamePad& pad, int button, bool down) {
    std::lock_guard lock(mutex_);
    record("pad button " + std::to_string(button) + (down ? " down" : " up"));
    const DriverInput in = pad.button(button, down, handleRanges(run_, run_.brakeNotchCount));
    if (!in.commands.empty()) dispatch(in);
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
