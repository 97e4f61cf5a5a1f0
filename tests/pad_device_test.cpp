// Game controllers through SDL, with SDL's virtual joysticks in place of
// hardware: hot-plug, the standard layout of a gamepad, a plain joystick's
// hats, lever sweeps through a whole run, and a demo train driven by a pad.
#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <functional>

#include "controls/game_pad.h"
#include "run_fixture.h"
#include "sdl_pads.h"

using namespace ts;
using namespace ts::test;

namespace {

// The device index of a connected joystick's instance id, or -1.
int deviceIndexOf(SDL_JoystickID id) {
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == id) return i;
    return -1;
}

// A virtual device attached for the life of the object; the handle of our own
// to set its values (SDL shares the device with SdlPads' handle).
class VirtualPad {
public:
    VirtualPad(SDL_JoystickType type, int axes, int buttons, int hats) {
        index_ = SDL_JoystickAttachVirtual(type, axes, buttons, hats);
        if (index_ >= 0) {
            id_ = SDL_JoystickGetDeviceInstanceID(index_);
            joystick_ = SDL_JoystickOpen(index_);
        }
    }
    ~VirtualPad() { detach(); }
    bool ok() const { return joystick_ != nullptr; }
    int id() const { return id_; }
    void detach() {
        if (!joystick_) return;
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        SDL_JoystickDetachVirtual(deviceIndexOf(id_));
    }
    void axis(int a, int raw) { SDL_JoystickSetVirtualAxis(joystick_, a, Sint16(raw)); }
    // A gamepad's trigger reads 0 … 32767 from the raw -32768 … 32767.
    void trigger(int a, int value) { axis(a, std::clamp(2 * value - 32768, -32768, 32767)); }
    void button(int b, bool down) { SDL_JoystickSetVirtualButton(joystick_, b, down); }
    void hat(int h, uint8_t bits) { SDL_JoystickSetVirtualHat(joystick_, h, bits); }

private:
    int index_ = -1, id_ = -1;
    SDL_Joystick* joystick_ = nullptr;
};

// Polls until `pred` holds for an event (true) or a generous deadline passes.
bool waitFor(SdlPads& pads, std::vector<PadEvent>& seen, const std::function<bool(const PadEvent&)>& pred) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        for (const PadEvent& e : pads.poll()) {
            seen.push_back(e);
            if (pred(e)) return true;
        }
        SDL_Delay(1);
    }
    return false;
}

bool isAxis(const PadEvent& e, int axis, int value) {
    return e.kind == PadEvent::Kind::Axis && e.index == axis && e.value == value;
}

struct PadsTest : ::testing::Test {
    SdlPads pads;
    std::vector<PadEvent> seen;
    void SetUp() override { ASSERT_TRUE(pads.available()) << pads.error(); }
};

}  // namespace

TEST_F(PadsTest, GamepadConnectsInTheStandardLayoutAndDisconnects) {
    VirtualPad v(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 15, 0);
    ASSERT_TRUE(v.ok()) << SDL_GetError();
    ASSERT_TRUE(waitFor(pads, seen, [](const PadEvent& e) { return e.kind == PadEvent::Kind::Connected; }));
    const auto devices = pads.devices();
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_TRUE(devices[0].gamepad);
    EXPECT_EQ(devices[0].guid.size(), 32u);
    EXPECT_EQ(devices[0].axes, 6);
    EXPECT_EQ(devices[0].buttons, 15);
    v.trigger(gamepad::RightTrigger, 20000);
    ASSERT_TRUE(waitFor(
        pads, seen, [](const PadEvent& e) { return e.kind == PadEvent::Kind::Axis && e.index == 5 && e.value > 0; }));
    EXPECT_NEAR(seen.back().value, 20000, 2);
    EXPECT_NEAR(pads.axisValue(devices[0].id, gamepad::RightTrigger), 20000, 2);
    v.button(gamepad::DpadUp, true);
    ASSERT_TRUE(waitFor(pads, seen, [](const PadEvent& e) { return e.kind == PadEvent::Kind::Button; }));
    EXPECT_EQ(seen.back().index, gamepad::DpadUp);
    EXPECT_EQ(seen.back().value, 1);
    EXPECT_TRUE(pads.buttonDown(devices[0].id, gamepad::DpadUp));
    v.detach();
    ASSERT_TRUE(waitFor(pads, seen, [](const PadEvent& e) { return e.kind == PadEvent::Kind::Disconnected; }));
    EXPECT_TRUE(pads.devices().empty());
}

TEST_F(PadsTest, PlainJoystickReportsItsHatAsButtons) {
    VirtualPad v(SDL_JOYSTICK_TYPE_THROTTLE, 2, 4, 1);
    ASSERT_TRUE(v.ok()) << SDL_GetError();
    ASSERT_TRUE(waitFor(pads, seen, [](const PadEvent& e) { return e.kind == PadEvent::Kind::Connected; }));
    ASSERT_EQ(pads.devices().size(), 1u);
    EXPECT_FALSE(pads.devices()[0].gamepad);
    EXPECT_EQ(pads.devices()[0].hats, 1);
    v.axis(1, -12345);
    ASSERT_TRUE(waitFor(pads, seen, [](const PadEvent& e) { return isAxis(e, 1, -12345); }))
        << "raw values as they are";
    seen.clear();
    v.hat(0, SDL_HAT_UP | SDL_HAT_LEFT);
    ASSERT_TRUE(waitFor(pads, seen, [](const PadEvent& e) { return e.index == hatButton(0, 3); }));
    v.hat(0, SDL_HAT_LEFT);
    ASSERT_TRUE(waitFor(pads, seen, [](const PadEvent& e) { return e.index == hatButton(0, 0) && e.value == 0; }));
    std::vector<std::pair<int, int>> hats;
    for (const PadEvent& e : seen)
        if (e.kind == PadEvent::Kind::Button) hats.push_back({e.index, e.value});
    EXPECT_EQ(hats, (std::vector<std::pair<int, int>>{{100, 1}, {103, 1}, {100, 0}}))
        << "only the directions that changed";
}

namespace {

// A run whose game controller is a virtual SDL gamepad.
struct PadRun : PadsTest {
    RunFixture f;
    GamePad pad;
    int device = -1;
    // Hands every event SdlPads has to the run, as the driving window does.
    void pump() {
        for (const PadEvent& e : pads.poll()) {
            seen.push_back(e);
            if (e.kind == PadEvent::Kind::Connected) {
                device = e.device;
                for (const PadDeviceInfo& d : pads.devices())
                    if (d.id == e.device) pad.connect(d.gamepad ? defaultGamepadMapping() : defaultJoystickMapping());
            } else if (e.kind == PadEvent::Kind::Disconnected) {
                pad.disconnect();
            } else if (e.kind == PadEvent::Kind::Axis) {
                f.run->padAxis(pad, e.index, e.value);
            } else {
                f.run->padButton(pad, e.index, e.value != 0);
            }
        }
    }
    // Pumps until `done` or a generous deadline.
    bool until(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            pump();
            if (done()) return true;
            SDL_Delay(1);
        }
        return false;
    }
    // Sets a gamepad trigger and pumps until SDL (and so the run) has it.
    bool trigger(VirtualPad& v, int axis, int value) {
        v.trigger(axis, value);
        return until([&] { return std::abs(pads.axisValue(device, axis) - value) <= 1; });
    }
    bool rawAxis(VirtualPad& v, int axis, int value) {
        v.axis(axis, value);
        return until([&] { return pads.axisValue(device, axis) == value; });
    }
    int power() {
        return f.get([](ts::Run& r, PanelModel&) { return r.powerNotch; });
    }
    int brake() {
        return f.get([](ts::Run& r, PanelModel&) { return r.brakeNotch; });
    }
};

}  // namespace

TEST_F(PadRun, TriggerSweepsGiveTheNotchSequenceWithHysteresis) {
    f.load("", "[Handle]\n1\n[BrakeType]\n1\n[Brake]\n8\n[Power]\n4\n[Sound_EB]\n3\n[Sound_EBring]\n8\n");
    f.run->start1Click();
    VirtualPad v(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 15, 0);
    ASSERT_TRUE(v.ok());
    ASSERT_TRUE(until([&] { return pad.connected() && pad.leverIndex(gamepad::RightTrigger); }));
    EXPECT_EQ(power(), 0);
    // Up in small steps: P1 … P4 in turn, each only past its boundary plus the hysteresis.
    ASSERT_TRUE(trigger(v, gamepad::RightTrigger, 0));
    std::vector<int> notches;
    int last = power();
    for (int value = 256; value <= 32767; value += 256) {
        ASSERT_TRUE(trigger(v, gamepad::RightTrigger, value));
        if (power() != last) notches.push_back(last = power());
    }
    EXPECT_EQ(notches, (std::vector<int>{1, 2, 3, 4}));
    // Rest on the P2/P3 boundary (0.05 + 0.9 x 3 / 5 = 0.59 of the travel) and
    // jitter by a little less than the hysteresis (a quarter of 0.9 / 5).
    const int edge = int(32767 * 0.59), within = int(32767 * 0.9 / 5 / 4) - 200;
    ASSERT_TRUE(trigger(v, gamepad::RightTrigger, edge - 500));
    EXPECT_EQ(power(), 2);
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(trigger(v, gamepad::RightTrigger, i % 2 ? edge + within : edge - within));
        EXPECT_EQ(power(), 2) << "jitter " << i;
    }
    ASSERT_TRUE(trigger(v, gamepad::RightTrigger, edge + within + 400));
    EXPECT_EQ(power(), 3) << "past the hysteresis";
    ASSERT_TRUE(trigger(v, gamepad::RightTrigger, 0));
    EXPECT_EQ(power(), 0);
    // The brake trigger: released, B1 … B7, EB.
    ASSERT_TRUE(trigger(v, gamepad::LeftTrigger, 32767));
    ASSERT_TRUE(trigger(v, gamepad::LeftTrigger, 0));
    EXPECT_EQ(brake(), 0);
    notches.clear();
    last = brake();
    for (int value = 256; value <= 32767; value += 256) {
        ASSERT_TRUE(trigger(v, gamepad::LeftTrigger, value));
        if (brake() != last) notches.push_back(last = brake());
    }
    EXPECT_EQ(notches, (std::vector<int>{-1, -2, -3, -4, -5, -6, -7, -8}));
}

TEST_F(PadRun, CalibratedLeverReachesItsEnds) {
    f.load("", "[Handle]\n0\n[BrakeType]\n1\n[Brake]\n8\n[Power]\n5\n[Sound_EB]\n3\n[Sound_EBring]\n8\n");
    f.run->start1Click();
    VirtualPad v(SDL_JOYSTICK_TYPE_THROTTLE, 1, 2, 0);  // a train controller's single lever
    ASSERT_TRUE(v.ok());
    ASSERT_TRUE(until([&] { return pad.connected(); }));
    // It travels only -20000 … 24000: EB at one end, P5 at the other once calibrated.
    PadMapping m = defaultJoystickMapping();
    m.axes.push_back({0, AxisRole::Combined, -20000, 24000, std::nullopt, false, 0.03, 0.25});
    pad.connect(m);
    ASSERT_TRUE(rawAxis(v, 0, 100));
    ASSERT_TRUE(pad.leverIndex(0).has_value());
    ASSERT_TRUE(rawAxis(v, 0, 24000));
    EXPECT_EQ(power(), 5);
    EXPECT_EQ(brake(), 0);
    ASSERT_TRUE(rawAxis(v, 0, -20000));
    EXPECT_EQ(brake(), -8);
    EXPECT_EQ(power(), 0);
    // Uncalibrated (the full raw range) the same travel stops short of both ends.
    m.axes[0].min = -32768;
    m.axes[0].max = 32767;
    pad.connect(m);
    ASSERT_TRUE(rawAxis(v, 0, 0));
    EXPECT_EQ(pad.leverIndex(0), 7) << "14 positions: the middle is B1";
    ASSERT_TRUE(rawAxis(v, 0, 24000));
    EXPECT_EQ(power(), 4);
}

TEST_F(PadRun, ButtonsWithTheCommonStartAndAReconnectMidRun) {
    f.load("", "[Handle]\n0\n[BrakeType]\n1\n[Brake]\n8\n[Power]\n4\n[Sound_EB]\n3\n[Sound_EBring]\n8\n");
    f.run->start1Click();
    auto attach = [&] { return std::make_unique<VirtualPad>(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 15, 0); };
    auto v = attach();
    ASSERT_TRUE(until([&] { return pad.connected() && pad.leverIndex(gamepad::LeftTrigger); }));
    f.set([](ts::Run& r, PanelModel&) { r.ebDeviceIdleTicks = 300; });
    f.ops();
    v->button(gamepad::A, true);  // confirm
    ASSERT_TRUE(until([&] { return f.get([](ts::Run& r, PanelModel&) { return r.ebDeviceIdleTicks; }) == 0; }));
    EXPECT_EQ(f.ops(), (std::vector<std::string>{"8:stop"})) << "the vigilance device's sound stops";
    v->button(gamepad::A, false);
    ASSERT_TRUE(trigger(*v, gamepad::LeftTrigger, 32767));
    ASSERT_TRUE(trigger(*v, gamepad::LeftTrigger, 0));
    EXPECT_EQ(brake(), 0);
    ASSERT_TRUE(trigger(*v, gamepad::RightTrigger, 0));
    ASSERT_TRUE(trigger(*v, gamepad::RightTrigger, 20000));  // (0.61 - 0.05) / 0.9 x 5 = 3.1
    EXPECT_EQ(power(), 3);
    v->detach();
    ASSERT_TRUE(until([&] { return !pad.connected(); }));
    EXPECT_EQ(power(), 3);
    EXPECT_EQ(brake(), 0) << "a vanished controller leaves the handles";
    v = attach();
    ASSERT_TRUE(until([&] { return pad.connected() && pad.leverIndex(gamepad::RightTrigger); }));
    EXPECT_EQ(power(), 3) << "a controller that comes back moves nothing by itself";
    ASSERT_TRUE(trigger(*v, gamepad::RightTrigger, 32767));
    EXPECT_EQ(power(), 4);
    v->button(gamepad::LeftShoulder, true);
    ASSERT_TRUE(until([&] { return brake() == -8; }));
    EXPECT_EQ(power(), 0);
}
