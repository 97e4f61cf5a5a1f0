#include "controls/game_pad.h"

#include <algorithm>

namespace ts {

using K = DriverCommand::Kind;

HandleRanges handleRanges(const TrainData& train, int brakeNotchCount) {
    return {train.handleType, std::max(train.powerNotchCount, 0), std::max(brakeNotchCount, 0),
            train.holdPositionEnabled == 1};
}

void GamePad::connect(const PadMapping& mapping) {
    mapping_ = mapping;
    connected_ = true;
    index_.clear();
}

void GamePad::disconnect() { connected_ = false; }

std::optional<int> GamePad::leverIndex(int axis) const {
    auto it = index_.find(axis);
    if (it == index_.end()) return std::nullopt;
    return it->second;
}

DriverInput GamePad::axis(int axis, int value, const HandleRanges& r) {
    DriverInput in{InputSource::Pad, {}};
    const AxisMapping* m = connected_ ? mapping_.axis(axis) : nullptr;
    if (!m) return in;
    const auto positions = leverPositions(m->role, r.power, r.brake, r.hold);
    const auto neutral = std::find(positions.begin(), positions.end(), LeverPosition{});
    const int count = int(positions.size());
    const auto known = index_.find(axis);
    const std::optional<int> current = known == index_.end() ? std::nullopt : std::optional<int>(known->second);
    const int next = positionIndex(*m, value, count, current, int(neutral - positions.begin()));
    index_[axis] = next;
    if (!current || next == *current) return in;
    const LeverPosition& p = positions[size_t(next)];
    // The brake first: a lever going from brake to power releases before it powers.
    if (m->role != AxisRole::Power) in.commands.push_back({K::PadBrake, p.brake, 0, p.hold});
    if (m->role != AxisRole::Brake) in.commands.push_back({K::PadPower, p.power, 0, false});
    return in;
}

DriverInput GamePad::button(int button, bool down, const HandleRanges& r) const {
    if (!connected_ || !down) return {InputSource::Pad, {}};
    auto it = mapping_.buttons.find(button);
    return commandsForPadAction(it == mapping_.buttons.end() ? PadAction::None : it->second, r);
}

DriverInput commandsForPadAction(PadAction action, const HandleRanges& r) {
    DriverInput in{InputSource::Pad, {}};
    const bool oneHandle = r.handleType == HandleType::Combined;
    auto add = [&](K kind, int value = 0) { in.commands.push_back({kind, value, 0, false}); };
    switch (action) {
        case PadAction::None: break;
        // A single lever has only two ways to go, as its keys "z" and "a", "8" and "2".
        case PadAction::PowerUp: add(oneHandle ? K::CombinedUp : K::PowerUp); break;
        case PadAction::PowerDown: add(oneHandle ? K::CombinedDownKey : K::PowerDown); break;
        case PadAction::BrakeRelease: add(oneHandle ? K::CombinedUp : K::BrakeRelease); break;
        case PadAction::BrakeApply: add(oneHandle ? K::CombinedDownKeypad : K::BrakeApply); break;
        case PadAction::Emergency: add(K::EmergencyWithSound); break;
        case PadAction::Neutral: add(K::AllNeutral); break;
        case PadAction::ReverserForward: add(K::Reverser, 1); break;
        case PadAction::ReverserNeutral: add(K::Reverser, 0); break;
        case PadAction::ReverserBack: add(K::Reverser, -1); break;
        case PadAction::Horn: add(K::Horn); break;
        case PadAction::Whistle: add(K::Whistle); break;
        case PadAction::Doors: add(K::Doors); break;
        case PadAction::Confirm: add(K::Confirm); break;
        case PadAction::Reset: add(K::ResetProtection); break;
        case PadAction::CallOut: add(K::CallOut); break;
        case PadAction::Timetable: add(K::Timetable); break;
        case PadAction::ValueDisplay: add(K::ValueDisplay); break;
    }
    return in;
}

}  // namespace ts
