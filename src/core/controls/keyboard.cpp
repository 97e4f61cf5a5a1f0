// The keyboard, the mouse wheel and the serial controller: each turns what it
// received into driver commands for the dispatcher.
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
        if (c == '2') c = '8';
        else if (c == '8') c = '2';
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

}  // namespace ts
