// The driver-command layer: every input device (keyboard, wheel, serial
// controller, game controllers, and later replays) turns what it received
// into driver commands; one dispatcher applies them with the common start of
// every driver input and the rules of the handle model.
#pragma once
#include <string>
#include <vector>

#include "controls/keys.h"
#include "data/train_data.h"

namespace ts {

struct DriverCommand {
    enum class Kind {
        None,
        // Handle steps. Each names the rule it follows, for the keys and the
        // wheel differ in their bounds and in the brake sounds they start.
        CombinedUp,          // one step toward power, with the release sound
        CombinedDownKey,     // one step toward brake, stopping short of emergency ("a")
        CombinedDownKeypad,  // as CombinedDownKey, with the apply sound of brake type 0 ("2")
        CombinedDownWheel,   // one step toward brake, reaching emergency (wheel away)
        PowerUp,
        PowerDown,
        BrakeRelease,
        BrakeApply,
        BrakeEmergency,      // the brake handle alone to emergency ("/")
        Emergency,           // brake to emergency and power off, silently ("q")
        EmergencyWithSound,  // as Emergency, with the emergency sound ("0")
        AllNeutral,
        Reverser,  // value: 1 forward, 0 neutral, -1 back (at walking pace)
        // Absolute positions from a controller: value power notch, value2 brake
        // notch (0 released, negative applied), flag: its emergency position.
        ControllerPosition,
        ControllerReverser,  // value as Reverser; the unit's own switch
        // Other controls.
        Doors,
        Horn,
        Whistle,
        Confirm,
        ResetProtection,
        CallOut,
        // The driver's switches and the trial adjustments of the function keys.
        SwapKeypad,
        RecordedSpeed,
        Timetable,
        HelpWindow,
        ValueDisplay,
        TrialSpeed,     // value: km/h x 10000 to add
        TrialClock,     // value: ticks to add
        TrialPosition,  // value: frames to add
        // A controller switch posted to the window's input queue as a key.
        PostSpace,
        PostHorn,
        PostEnter,
        // A game controller's lever, as an absolute position inside the
        // train's ranges: value the power notch; or value the brake notch
        // (0 released, negative applied) and flag the hold position.
        PadPower,
        PadBrake,
    };
    Kind kind = Kind::None;
    int value = 0, value2 = 0;
    bool flag = false;

    bool operator==(const DriverCommand&) const = default;
    // Commands that move a handle: the read-outs are refreshed after them.
    bool movesHandle() const { return kind >= Kind::CombinedUp && kind <= Kind::Reverser; }
};

// Where a batch of commands came from; the common start and the input lock
// depend on it.
enum class InputSource { Character, FunctionKey, Wheel, Controller, Pad };

struct DriverInput {
    InputSource source = InputSource::Character;
    std::vector<DriverCommand> commands;
};

// A typed character, after the keypad swap (the handle type picks the handle).
DriverInput commandsForCharacter(char c, const TrainData& train);
// A key-down of the function keys, Scroll Lock and Enter.
DriverInput commandsForKey(Key key, ShiftState shift);
// A wheel notch: toward the driver (up) or away (down).
DriverInput commandsForWheel(bool towardDriver);
// One serial controller message, matched on its first five characters against
// the codes of the controller map.
DriverInput commandsForControllerMessage(const std::string& message, const std::vector<std::string>& codes,
                                         const TrainData& train, int brakeNotchCount);

}  // namespace ts
