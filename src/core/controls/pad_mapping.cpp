#include "controls/pad_mapping.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>

namespace ts {

namespace {

struct ActionName {
    PadAction action;
    const char* name;
};
constexpr ActionName kActionNames[] = {
    {PadAction::PowerUp, "power-up"},
    {PadAction::PowerDown, "power-down"},
    {PadAction::BrakeRelease, "brake-release"},
    {PadAction::BrakeApply, "brake-apply"},
    {PadAction::Emergency, "emergency"},
    {PadAction::Neutral, "neutral"},
    {PadAction::ReverserForward, "reverser-forward"},
    {PadAction::ReverserNeutral, "reverser-neutral"},
    {PadAction::ReverserBack, "reverser-back"},
    {PadAction::Horn, "horn"},
    {PadAction::Whistle, "whistle"},
    {PadAction::Doors, "doors"},
    {PadAction::Confirm, "confirm"},
    {PadAction::Reset, "reset"},
    {PadAction::CallOut, "call-out"},
    {PadAction::Timetable, "timetable"},
    {PadAction::ValueDisplay, "value-display"},
};

}  // namespace

const char* padActionName(PadAction a) {
    for (const auto& n : kActionNames)
        if (n.action == a) return n.name;
    return "none";
}

std::optional<PadAction> padActionNamed(const std::string& name) {
    if (name == "none") return PadAction::None;
    for (const auto& n : kActionNames)
        if (name == n.name) return n.action;
    return std::nullopt;
}

std::vector<PadAction> allPadActions() {
    std::vector<PadAction> out;
    for (const auto& n : kActionNames) out.push_back(n.action);
    return out;
}

const char* axisRoleName(AxisRole r) {
    switch (r) {
        case AxisRole::Power: return "power";
        case AxisRole::Brake: return "brake";
        case AxisRole::Combined: return "combined";
    }
    return "power";
}

std::optional<AxisRole> axisRoleNamed(const std::string& name) {
    for (AxisRole r : {AxisRole::Power, AxisRole::Brake, AxisRole::Combined})
        if (name == axisRoleName(r)) return r;
    return std::nullopt;
}

const AxisMapping* PadMapping::axis(int n) const {
    for (const AxisMapping& a : axes)
        if (a.axis == n) return &a;
    return nullptr;
}

PadMapping defaultGamepadMapping() {
    using namespace gamepad;
    PadMapping m;
    m.name = "standard gamepad";
    // Triggers rest at 0 and reach 32767 fully pulled.
    m.axes.push_back({RightTrigger, AxisRole::Power, 0, 32767, std::nullopt, false, 0.05, 0.25});
    m.axes.push_back({LeftTrigger, AxisRole::Brake, 0, 32767, std::nullopt, false, 0.05, 0.25});
    m.buttons = {
        {A, PadAction::Confirm},
        {B, PadAction::Reset},
        {X, PadAction::Horn},
        {Y, PadAction::Doors},
        {LeftShoulder, PadAction::Emergency},
        {RightShoulder, PadAction::Whistle},
        {Back, PadAction::Timetable},
        {Start, PadAction::ValueDisplay},
        {DpadUp, PadAction::ReverserForward},
        {DpadDown, PadAction::ReverserBack},
        {DpadLeft, PadAction::ReverserNeutral},
        {DpadRight, PadAction::CallOut},
    };
    return m;
}

PadMapping defaultJoystickMapping() {
    PadMapping m;
    m.name = "joystick";
    m.buttons = {
        {0, PadAction::Confirm},
        {1, PadAction::Reset},
        {2, PadAction::Horn},
        {3, PadAction::Doors},
        {hatButton(0, 0), PadAction::ReverserForward},
        {hatButton(0, 2), PadAction::ReverserBack},
        {hatButton(0, 3), PadAction::ReverserNeutral},
    };
    return m;
}

std::vector<LeverPosition> leverPositions(AxisRole role, int power, int brake, bool hold) {
    power = std::max(power, 0);
    brake = std::max(brake, 0);
    std::vector<LeverPosition> brakes;  // released first, EB last
    brakes.push_back({0, 0, false});
    if (hold) brakes.push_back({0, 0, true});
    for (int b = 1; b <= brake; ++b) brakes.push_back({0, -b, false});
    std::vector<LeverPosition> out;
    switch (role) {
        case AxisRole::Power:
            for (int p = 0; p <= power; ++p) out.push_back({p, 0, false});
            break;
        case AxisRole::Brake: out = brakes; break;
        case AxisRole::Combined:
            out.assign(brakes.rbegin(), brakes.rend());
            for (int p = 1; p <= power; ++p) out.push_back({p, 0, false});
            break;
    }
    return out;
}

double leverCoordinate(const AxisMapping& m, int raw, int count, int neutral) {
    if (count <= 0) return 0;
    auto unit = [&](double v) {
        // In 64 bits: a hand-set range of the whole int overflows 32.
        double t = m.max == m.min ? 0.0 : (v - m.min) / double(int64_t(m.max) - int64_t(m.min));
        t = std::clamp(t, 0.0, 1.0);
        if (m.inverted) t = 1.0 - t;
        const double d = std::clamp(m.deadZone, 0.0, 0.45);
        return std::clamp((t - d) / (1.0 - 2.0 * d), 0.0, 1.0);
    };
    const double t = unit(raw);
    double u = t * count;
    if (m.role == AxisRole::Combined && m.centre && neutral >= 0 && neutral < count) {
        // The centre is the middle of N; each side shares out its own positions.
        const double c = unit(*m.centre), mid = neutral + 0.5;
        if (c > 0.0 && c < 1.0) u = t <= c ? mid * t / c : mid + (count - mid) * (t - c) / (1.0 - c);
    }
    return std::clamp(u, 0.0, std::nextafter(double(count), 0.0));
}

int positionIndex(const AxisMapping& m, int raw, int count, std::optional<int> current, int neutral) {
    if (count <= 0) return 0;
    const double u = leverCoordinate(m, raw, count, neutral);
    const int j = std::clamp(int(std::floor(u)), 0, count - 1);
    if (!current || *current < 0 || *current >= count) return j;
    const int i = *current;
    const double h = std::clamp(m.hysteresis, 0.0, 0.49);
    if (u >= i + 1 + h || u < i - h) return j;
    return i;
}

}  // namespace ts
