// A game controller on a whole run: levers as absolute positions, buttons as
// the keyboard's actions, the common start, the input lock and hot-plug.
#include <gtest/gtest.h>

#include "controls/game_pad.h"
#include "run_fixture.h"

using namespace ts;
using namespace ts::test;

namespace {

// Sound channels named in the train files below.
constexpr int kEB = 3, kEBring = 8, kHorn = 5;

struct Pad : RunFixture {
    GamePad pad;
    // One handle (789-like): P4, B8 (EB -8), no hold; or two handles with brake type 0 and hold.
    explicit Pad(bool twoHandles = false) {
        load("", twoHandles ? "[Handle]\n1\n[BrakeType]\n0\n[Brake]\n8\n[Power]\n4\n[Hold]\n1\n[Sound_EB]\n3\n"
                              "[Sound_Horn]\n5\n[Sound_EBring]\n8\n"
                            : "[Handle]\n0\n[BrakeType]\n1\n[Brake]\n8\n[Power]\n4\n[Sound_EB]\n3\n"
                              "[Sound_Horn]\n5\n[Sound_EBring]\n8\n");
        pad.connect(defaultGamepadMapping());
        ops();
    }
    void start() {
        run->start1Click();
        ops();
    }
    struct Handles {
        int power, brake, hold;
        bool operator==(const Handles&) const = default;
    };
    Handles handles() {
        return get([](ts::Run& r, PanelModel&) { return Handles{r.powerNotch, r.brakeNotch, r.holdPosition}; });
    }
    std::string labels() {
        return get([](ts::Run&, PanelModel& p) { return p.labels["PowerLabel"] + "/" + p.labels["BrakeLabel"]; });
    }
    void axis(int a, int v) { run->padAxis(pad, a, v); }
    void press(int b) {
        run->padButton(pad, b, true);
        run->padButton(pad, b, false);
    }
};

std::ostream& operator<<(std::ostream& o, const Pad::Handles& h) {
    return o << "P" << h.power << " B" << h.brake << (h.hold ? " hold" : "");
}

constexpr int kPower = gamepad::RightTrigger, kBrake = gamepad::LeftTrigger;

}  // namespace

TEST(GamePadRun, ConnectingMovesNoHandleAndLeversThenSetAbsolutePositions) {
    Pad p;
    p.start();
    p.axis(kBrake, 0);
    p.axis(kPower, 0);
    EXPECT_EQ(p.handles(), (Pad::Handles{0, -8, 0})) << "the first values only tell where the levers stand";
    EXPECT_TRUE(p.ops().empty()) << "and are no driver input";
    p.axis(kBrake, 32767);
    EXPECT_EQ(p.handles(), (Pad::Handles{0, -8, 0}));
    EXPECT_EQ(p.ops(), (std::vector<std::string>{"8:stop"})) << "the common start; EB was already set: no EB sound";
    p.axis(kBrake, 0);
    EXPECT_EQ(p.handles(), (Pad::Handles{0, 0, 0}));
    EXPECT_EQ(p.labels(), "off/rel");
    p.ops();
    p.axis(kPower, 16000);  // 16000 / 32767 of the travel: (0.488 - 0.05) / 0.9 x 5 positions = 2.4 → P2
    EXPECT_EQ(p.handles(), (Pad::Handles{2, 0, 0}));
    EXPECT_EQ(p.labels(), "P2/rel");
    p.axis(kPower, 16500);
    EXPECT_TRUE(p.ops() == std::vector<std::string>{"8:stop"}) << "the move into P2 was input";
    p.axis(kPower, 16600);
    EXPECT_TRUE(p.ops().empty()) << "a lever moving within its position is no driver input";
    p.axis(kBrake, 20000);  // (0.610 - 0.05) / 0.9 x 9 = 5.6 → B5
    EXPECT_EQ(p.handles(), (Pad::Handles{0, -5, 0})) << "one handle: braking takes the power off";
    EXPECT_EQ(p.labels(), "off/B5");
    p.axis(kPower, 32767);
    EXPECT_EQ(p.handles(), (Pad::Handles{0, -5, 0})) << "and no power while the brake is applied";
    p.ops();
    p.axis(kBrake, 32767);
    EXPECT_EQ(p.handles(), (Pad::Handles{0, -8, 0}));
    EXPECT_EQ(p.ops(), (std::vector<std::string>{"8:stop", "3:stop", "3:play"})) << "into EB with its sound";
    EXPECT_EQ(p.get([](ts::Run& r, PanelModel&) { return r.powerHandleMoved + 2 * r.brakeHandleMoved; }), 3);
}

TEST(GamePadRun, LockedBeforeStartAsTheKeyboard) {
    Pad p;
    p.set([](ts::Run& r, PanelModel&) { r.ebDeviceIdleTicks = 40; });
    p.axis(kBrake, 32767);
    p.axis(kBrake, 0);
    p.press(gamepad::X);  // horn
    p.press(gamepad::DpadUp);
    EXPECT_EQ(p.handles(), (Pad::Handles{0, -8, 0}));
    EXPECT_EQ(p.get([](ts::Run& r, PanelModel&) { return r.reverser * 100 + r.ebDeviceIdleTicks; }), 0)
        << "nothing taken, but the common start ran";
    EXPECT_EQ(p.ops(), (std::vector<std::string>{"8:stop", "8:stop", "8:stop"}));
    p.press(gamepad::Back);
    EXPECT_EQ(p.get([](ts::Run& r, PanelModel&) { return int(r.staffShown); }), 1) << "the card works as F1 does";
    p.start();
    p.axis(kBrake, 500);
    EXPECT_EQ(p.handles(), (Pad::Handles{0, -8, 0})) << "still inside the released position";
    p.axis(kBrake, 9000);
    EXPECT_EQ(p.handles(), (Pad::Handles{0, -2, 0})) << "taken at its next move once started";
}

TEST(GamePadRun, ButtonsAreTheKeyboardsActionsWithTheCommonStart) {
    Pad p;
    p.start();
    p.set([](ts::Run& r, PanelModel&) { r.ebDeviceIdleTicks = 40; });
    p.press(gamepad::X);
    EXPECT_EQ(p.ops(), (std::vector<std::string>{"8:stop", "5:stop", "5:play"}));
    EXPECT_EQ(p.get([](ts::Run& r, PanelModel&) { return r.ebDeviceIdleTicks; }), 0);
    p.run->padButton(p.pad, gamepad::X, false);
    EXPECT_TRUE(p.ops().empty()) << "a button going up does nothing";
    p.press(gamepad::DpadUp);
    EXPECT_EQ(p.get([](ts::Run& r, PanelModel&) { return r.reverser; }), 1);
    p.set([](ts::Run& r, PanelModel&) { r.speed = 15000; });
    p.press(gamepad::DpadDown);
    EXPECT_EQ(p.get([](ts::Run& r, PanelModel&) { return r.reverser; }), 1) << "not above walking pace";
    p.set([](ts::Run& r, PanelModel&) { r.speed = 10000; });
    p.press(gamepad::DpadDown);
    EXPECT_EQ(p.get([](ts::Run& r, PanelModel&) { return r.reverser; }), -1);
    // Stepwise actions follow the handle model: on one lever power-up is the combined step.
    p.pad.connect([] {
        PadMapping m = defaultGamepadMapping();
        m.buttons[gamepad::RightStick] = PadAction::PowerUp;
        m.buttons[gamepad::LeftStick] = PadAction::BrakeApply;
        return m;
    }());
    p.press(gamepad::RightStick);
    EXPECT_EQ(p.handles(), (Pad::Handles{0, -7, 0})) << "from EB one step toward power releases one brake step";
    for (int i = 0; i < 9; ++i) p.press(gamepad::RightStick);
    EXPECT_EQ(p.handles(), (Pad::Handles{2, 0, 0}));
    p.press(gamepad::LeftStick);
    EXPECT_EQ(p.handles(), (Pad::Handles{1, 0, 0}));
    p.press(gamepad::LeftShoulder);
    EXPECT_EQ(p.handles(), (Pad::Handles{0, -8, 0}));
    EXPECT_EQ(p.labels(), "off/EB");
}

TEST(GamePadRun, HoldPositionOnTheBrakeLever) {
    Pad p(true);  // B4 (brake type 0), hold, P4
    p.start();
    p.axis(kBrake, 32767);
    p.axis(kBrake, 0);
    EXPECT_EQ(p.handles(), (Pad::Handles{0, 0, 0}));
    // Six positions: released, hold, -1, -2, -3, EB; hold spans 0.05 + 0.9 x (1 … 2) / 6 = 0.2 … 0.35.
    p.axis(kBrake, int(32767 * 0.29));
    EXPECT_EQ(p.handles(), (Pad::Handles{0, 0, 1}));
    EXPECT_EQ(
        p.get([](ts::Run& r, PanelModel& pm) { return pm.labels["BrakeLabel"] + std::to_string(r.holdExitLatch); }),
        "hold0");
    p.axis(kBrake, int(32767 * 0.44));
    EXPECT_EQ(p.handles(), (Pad::Handles{0, -1, 0}));
    p.axis(kPower, 0);
    p.axis(kPower, 32767);
    EXPECT_EQ(p.handles(), (Pad::Handles{4, -1, 0})) << "separate handles: power with the brake applied";
}

TEST(GamePadRun, DisconnectLeavesTheHandlesAndAReconnectContinues) {
    Pad p;
    p.start();
    p.axis(kBrake, 32767);
    p.axis(kBrake, 0);
    p.axis(kPower, 0);
    p.axis(kPower, 20000);
    const Pad::Handles before = p.handles();
    EXPECT_EQ(before, (Pad::Handles{3, 0, 0}));
    p.pad.disconnect();
    p.axis(kPower, 0);
    p.press(gamepad::LeftShoulder);
    EXPECT_EQ(p.handles(), before) << "a vanished controller moves nothing";
    p.ops();
    p.pad.connect(defaultGamepadMapping());
    p.axis(kPower, 0);
    EXPECT_EQ(p.handles(), before) << "its first value after coming back only tells where the lever stands";
    EXPECT_TRUE(p.ops().empty());
    p.axis(kPower, 32767);
    EXPECT_EQ(p.handles(), (Pad::Handles{4, 0, 0}));
}
