// What each input device's keys, notches and messages mean as driver commands.
#include <algorithm>

#include "controls/driver_commands.h"

namespace ts {

namespace {

using K = DriverCommand::Kind;

DriverCommand cmd(K kind, int value = 0, int value2 = 0, bool flag = false) { return {kind, value, value2, flag}; }

// The unit has six power notches and nine brake positions (the ninth its
// emergency), then the reverser and three switches, in the map's order.
constexpr int kControllerEntries = 22;
constexpr int kLastPowerEntry = 5, kNeutralEntry = 6, kEmergencyEntry = 15;
constexpr int kReverserForwardEntry = 16, kReverserNeutralEntry = 17, kReverserBackEntry = 18;
constexpr int kSpaceEntry = 19, kHornEntry = 20;

}  // namespace

DriverInput commandsForCharacter(char c, const TrainData& train) {
    DriverInput in{InputSource::Character, {}};
    auto add = [&](DriverCommand command) { in.commands.push_back(command); };
    const bool oneHandle = train.handleType == HandleType::Combined,
               twoHandles = train.handleType == HandleType::Separate;
    switch (c) {
        case 'f': add(cmd(K::Reverser, 1)); break;
        case 'b': add(cmd(K::Reverser, -1)); break;
        case 'n': add(cmd(K::Reverser, 0)); break;
        case 'z':
            if (oneHandle)
                add(cmd(K::CombinedUp));
            else if (twoHandles)
                add(cmd(K::PowerUp));
            break;
        case 'a':
            if (oneHandle)
                add(cmd(K::CombinedDownKey));
            else if (twoHandles)
                add(cmd(K::PowerDown));
            break;
        case 'q':
            if (oneHandle) add(cmd(K::Emergency));
            break;
        case ',':
            if (twoHandles) add(cmd(K::BrakeRelease));
            break;
        case '.':
            if (twoHandles) add(cmd(K::BrakeApply));
            break;
        case '/':
            if (twoHandles) add(cmd(K::BrakeEmergency));
            break;
        case '8': add(cmd(K::CombinedUp)); break;
        case '2': add(cmd(K::CombinedDownKeypad)); break;
        case '5': add(cmd(K::AllNeutral)); break;
        case '0': add(cmd(K::EmergencyWithSound)); break;
        case '6': add(cmd(K::Whistle)); break;
        case '3': add(cmd(K::Horn)); break;
        case 'd':
        case '7': add(cmd(K::Doors)); break;
        case 'r': add(cmd(K::ResetProtection)); break;
        case ' ': add(cmd(K::Confirm)); break;
        default: break;
    }
    return in;
}

DriverInput commandsForKey(Key key, ShiftState shift) {
    DriverInput in{InputSource::FunctionKey, {}};
    auto add = [&](DriverCommand command) { in.commands.push_back(command); };
    const bool s = shift.onlyShift();
    if (key == Key::ScrollLock) add(cmd(K::SwapKeypad));
    if (key == Key::Enter) add(cmd(K::CallOut));
    if (s) {
        switch (key) {
            case Key::F1: add(cmd(K::RecordedSpeed, 1)); break;
            case Key::F2: add(cmd(K::RecordedSpeed, 0)); break;
            case Key::F11: add(cmd(K::TrialSpeed, -100000)); break;
            case Key::F12: add(cmd(K::TrialSpeed, 100000)); break;
            case Key::F10: add(cmd(K::TrialClock, 900)); break;
            case Key::F9: add(cmd(K::TrialClock, -900)); break;
            case Key::F8: add(cmd(K::TrialPosition, 1000)); break;
            case Key::F7: add(cmd(K::TrialPosition, -1000)); break;
            case Key::F6: add(cmd(K::TrialPosition, 100)); break;
            case Key::F5: add(cmd(K::TrialPosition, -100)); break;
            default: break;
        }
    }
    // The windows and the card toggle with or without Shift.
    if (key == Key::F3)
        add(cmd(K::HelpWindow));
    else if (key == Key::F2)
        add(cmd(K::ValueDisplay));
    else if (key == Key::F1)
        add(cmd(K::Timetable));
    return in;
}

DriverInput commandsForWheel(bool towardDriver) {
    return {InputSource::Wheel, {cmd(towardDriver ? K::CombinedUp : K::CombinedDownWheel)}};
}

DriverInput commandsForControllerMessage(const std::string& message, const std::vector<std::string>& codes,
                                         const TrainData& train, int brakeNotchCount) {
    DriverInput in{InputSource::Controller, {}};
    const std::string m = message.substr(0, 5);
    for (int i = 0; i < kControllerEntries; ++i) {
        // Entries the map does not define are empty texts.
        const std::string code = i < int(codes.size()) ? codes[size_t(i)] : std::string();
        if (code != m) continue;
        if (i <= kEmergencyEntry) {
            // The train's own counts bound what is stored.
            const int power = i <= kLastPowerEntry ? i + 1 : 0;
            const int brake = i <= kNeutralEntry ? 0 : -(i - kNeutralEntry);
            in.commands.push_back(cmd(K::ControllerPosition, std::clamp(power, 0, std::max(train.powerNotchCount, 0)),
                                      std::clamp(brake, -std::max(brakeNotchCount, 0), 0), i == kEmergencyEntry));
        } else if (i <= kReverserBackEntry) {
            in.commands.push_back(cmd(K::ControllerReverser, i == kReverserForwardEntry   ? 1
                                                             : i == kReverserNeutralEntry ? 0
                                                                                          : -1));
        } else {
            in.commands.push_back(cmd(i == kSpaceEntry ? K::PostSpace : i == kHornEntry ? K::PostHorn : K::PostEnter));
        }
    }
    return in;
}

}  // namespace ts
