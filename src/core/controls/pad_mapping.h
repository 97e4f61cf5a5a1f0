// How a game controller's axes and buttons drive the train: an axis is divided
// into the train's handle positions (with calibration, dead zone and
// hysteresis), a button or hat direction stands for a driver action.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ts {

// The actions a button or a hat direction can stand for.
enum class PadAction {
    None,
    PowerUp,
    PowerDown,
    BrakeRelease,
    BrakeApply,
    Emergency,
    Neutral,
    ReverserForward,
    ReverserNeutral,
    ReverserBack,
    Horn,
    Whistle,
    Doors,
    Confirm,
    Reset,
    CallOut,
    Timetable,
    ValueDisplay,
};
// The action's word in the mapping file ("power-up", …), and back.
const char* padActionName(PadAction a);
std::optional<PadAction> padActionNamed(const std::string& name);
std::vector<PadAction> allPadActions();

// Hat directions arrive as buttons from this number on: four per hat, in the
// order up, right, down, left.
constexpr int kHatButtonBase = 100;
constexpr int hatButton(int hat, int direction) { return kHatButtonBase + 4 * hat + direction; }

// What one axis moves. The axis runs from its calibrated minimum to its
// maximum through the positions in this order:
//   Power: N, P1 … Pmax;
//   Brake: released, (hold,) B1 … EB;
//   Combined: EB … B1, (hold,) N, P1 … Pmax.
enum class AxisRole { Power, Brake, Combined };
const char* axisRoleName(AxisRole r);
std::optional<AxisRole> axisRoleNamed(const std::string& name);

struct AxisMapping {
    int axis = 0;
    AxisRole role = AxisRole::Power;
    int min = -32768, max = 32767;
    // A centre-sprung lever: its resting value is the middle of N (combined axes).
    std::optional<int> centre;
    bool inverted = false;
    // Part of the travel at each end that counts as the end position.
    double deadZone = 0.05;
    // How far past a boundary, in position widths, the lever must go before
    // the position changes: a lever resting on a boundary does not flicker.
    double hysteresis = 0.25;
    bool operator==(const AxisMapping&) const = default;
};

struct PadMapping {
    std::string guid, name;
    std::vector<AxisMapping> axes;
    std::map<int, PadAction> buttons;
    const AxisMapping* axis(int n) const;
    bool operator==(const PadMapping&) const = default;
};

// The standard gamepad layout (axes: left x, left y, right x, right y, left
// trigger, right trigger; buttons: A, B, X, Y, back, guide, start, left stick,
// right stick, left and right shoulder, pad up, down, left, right).
namespace gamepad {
constexpr int LeftTrigger = 4, RightTrigger = 5;
constexpr int A = 0, B = 1, X = 2, Y = 3, Back = 4, Guide = 5, Start = 6, LeftStick = 7, RightStick = 8,
              LeftShoulder = 9, RightShoulder = 10, DpadUp = 11, DpadDown = 12, DpadLeft = 13, DpadRight = 14;
}  // namespace gamepad

// Works a standard gamepad without setup: right trigger power, left trigger
// brake, face buttons confirm, reset, horn, doors.
PadMapping defaultGamepadMapping();
// A joystick that is no known gamepad: its first buttons only; its levers
// differ too much to guess, the dialog maps them.
PadMapping defaultJoystickMapping();

// One handle position an axis can stand at.
struct LeverPosition {
    int power = 0;
    int brake = 0;  // 0 released, negative applied, -B emergency
    bool hold = false;
    bool operator==(const LeverPosition&) const = default;
};
// The positions of `role` for a train with `power` notches, `brake` brake
// positions (EB included) and a hold position when `hold`, from the axis
// minimum to its maximum.
std::vector<LeverPosition> leverPositions(AxisRole role, int power, int brake, bool hold);

// Where the raw value lies on the axis, in position widths: 0 … count.
// `neutral` is the index of N, where a calibrated centre lies (-1: none).
double leverCoordinate(const AxisMapping& m, int raw, int count, int neutral = -1);
// The position index the raw value gives; with `current` the lever must pass a
// boundary by the hysteresis to leave it.
int positionIndex(const AxisMapping& m, int raw, int count, std::optional<int> current, int neutral = -1);

}  // namespace ts
