// A virtual gamepad drives the electric demo train from its first station to
// the next stop: reverser on the pad's up, brake released and power taken on
// the triggers, the stop braked on the left trigger. Where to start braking is
// found by driving again from the first station, halving the range of
// braking points that stop short of the platform or beyond it.
#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <fstream>

#include "controls/game_pad.h"
#include "run_fixture.h"
#include "sdl_pads.h"

using namespace ts;
using namespace ts::test;

namespace {

// The demo's pictures are PNG files: their size is all a run needs of them.
class PngSizes final : public PictureLoader {
public:
    std::optional<int> load(const std::string& path) override {
        std::ifstream in(path, std::ios::binary);
        unsigned char h[24] = {};
        if (!in.read(reinterpret_cast<char*>(h), sizeof h) || h[1] != 'P' || h[2] != 'N' || h[3] != 'G')
            return std::nullopt;
        auto be = [&](int at) {
            return int(h[at]) << 24 | int(h[at + 1]) << 16 | int(h[at + 2]) << 8 | int(h[at + 3]);
        };
        sizes.push_back({be(16), be(20)});
        return int(sizes.size()) - 1;
    }
    PictureSize size(int id) const override { return sizes.at(size_t(id)); }

private:
    std::vector<PictureSize> sizes;
};

struct Attempt {
    int stoppedAt = -1;  // frame
    bool arrived = false, doorsOpen = false;
    std::string error;
};

class DemoDrive {
public:
    DemoDrive() {
        ScopedCwd cwd(TRAINSIM_DEMO);
        sound.startUp();
        run = std::make_unique<DrivingRun>("789", RunServices{boxes, clock, pictures, sound, video, host});
        run->formCreate();
    }

    template <class F>
    auto state(F f) {
        return run->locked([&](ts::Run& r, PanelModel&) { return f(r); });
    }
    int power() {
        return state([](ts::Run& r) { return r.powerNotch; });
    }
    std::pair<int, int> stopRange(int station) {
        return state([&](ts::Run& r) {
            return std::make_pair(r.stationTable[size_t(station)].stopFrom, r.stationTable[size_t(station)].stopTo);
        });
    }

    // Drives with the brake applied at frame `brakeAt`; stops when the train stands again.
    Attempt drive(int brakeAt, int brakeValue) {
        Attempt a;
        SdlPads pads;
        if (!pads.available()) return {-1, false, false, pads.error()};
        const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 15, 0);
        SDL_Joystick* v = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
        if (!v) return {-1, false, false, SDL_GetError()};
        const int id = SDL_JoystickInstanceID(v);
        auto trigger = [&](int axis, int value) {
            SDL_JoystickSetVirtualAxis(v, axis, Sint16(std::clamp(2 * value - 32768, -32768, 32767)));
            return pumpUntil(pads, [&] { return std::abs(pads.axisValue(id, axis) - value) <= 1; });
        };
        auto press = [&](int button) {
            SDL_JoystickSetVirtualButton(v, button, 1);
            const bool down = pumpUntil(pads, [&] { return pads.buttonDown(id, button); });
            SDL_JoystickSetVirtualButton(v, button, 0);
            return down && pumpUntil(pads, [&] { return !pads.buttonDown(id, button); });
        };
        auto fail = [&](const std::string& why) {
            a.error = why;
            SDL_JoystickClose(v);
            SDL_JoystickDetachVirtual(index);
            return a;
        };
        if (!pumpUntil(pads, [&] { return pad.connected(); })) return fail("the gamepad did not connect");
        run->start1Click();
        run->StationClick("Sta0");
        // Standing at the first station until its doors have closed behind the melody.
        if (!runWhile([&] { return !state([](ts::Run& r) { return r.stationDeparted[0] == 1 && r.doorsOpen == 0; }); },
                      300000))
            return fail("the doors never closed");
        if (!press(gamepad::DpadUp)) return fail("reverser button");
        if (!trigger(gamepad::LeftTrigger, 32767) || !trigger(gamepad::LeftTrigger, 0)) return fail("brake trigger");
        if (!trigger(gamepad::RightTrigger, 32767)) return fail("power trigger");
        if (state([](ts::Run& r) { return r.reverser * 100 + r.powerNotch * 10 + r.brakeNotch; }) != 150)
            return fail("not forward, P5, released");
        bool braking = false;
        const bool stood = runWhile(
            [&] {
                const auto [speed, position] =
                    state([](ts::Run& r) { return std::make_pair(r.speed, r.trainPosition); });
                // Power off at 50 km/h, and no power again once braking.
                if (!braking && speed >= 500000 && power() > 0) trigger(gamepad::RightTrigger, 0);
                if (!braking && position >= brakeAt) {
                    braking = true;
                    trigger(gamepad::RightTrigger, 0);
                    trigger(gamepad::LeftTrigger, brakeValue);
                }
                return !(braking && speed == 0);
            },
            400000);
        if (!stood) return fail("the train did not stop");
        a.stoppedAt = state([](ts::Run& r) { return r.trainPosition; });
        // Let the station take it: the doors open on the next steps.
        runWhile([] { return true; }, 3000);
        a.arrived = state([](ts::Run& r) { return r.stationArrived[1] == 1; });
        a.doorsOpen = state([](ts::Run& r) { return r.doorsOpen == 1; });
        SDL_JoystickClose(v);
        SDL_JoystickDetachVirtual(index);
        return a;
    }

private:
    // Hands the pad's events to the run, as the driving window does, until `done`.
    bool pumpUntil(SdlPads& pads, const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            for (const PadEvent& e : pads.poll()) {
                if (e.kind == PadEvent::Kind::Connected)
                    pad.connect(defaultGamepadMapping());
                else if (e.kind == PadEvent::Kind::Disconnected)
                    pad.disconnect();
                else if (e.kind == PadEvent::Kind::Axis)
                    run->padAxis(pad, e.index, e.value);
                else
                    run->padButton(pad, e.index, e.value != 0);
            }
            if (done()) return true;
            SDL_Delay(1);
        }
        return false;
    }
    // Runs the virtual clock in 100 ms steps while `go` holds, at most `ms`.
    bool runWhile(const std::function<bool()>& go, int64_t ms) {
        const int64_t end = clock.now() + ms;
        while (clock.now() < end) {
            if (!go()) return true;
            const int64_t to = clock.now() + 100;
            while (auto due = clock.nextDue()) {
                if (*due > to) break;
                clock.setNow(*due);
                clock.runDue({});
            }
            clock.setNow(to);
        }
        return false;
    }

    VirtualClock clock;
    RecordingMessageBoxes boxes;
    PngSizes pictures;
    RecordingSound sound{128, [this] { return clock.now(); }};
    RecordingFrameSource video{5000};
    RunHost host;
    std::unique_ptr<DrivingRun> run;
    GamePad pad;
};

}  // namespace

TEST(PadDemo, VirtualGamepadDrivesToTheNextStop) {
    // B4 of the eight positions (released, B1 … B7, EB): (4.5 / 9 x 0.9 + 0.05) of the trigger's travel.
    const int b4 = int(32767 * (0.05 + 0.9 * 4.5 / 9));
    auto [from, to] = DemoDrive().stopRange(1);
    const int mark = (from + to) / 2;
    // Braking later stops further on: halve the range of braking points until the train stops in the platform.
    int early = 400, late = mark, brakeAt = 0;
    Attempt a;
    for (int attempt = 0; attempt < 14; ++attempt) {
        brakeAt = (early + late) / 2;
        DemoDrive d;
        a = d.drive(brakeAt, b4);
        ASSERT_TRUE(a.error.empty()) << a.error;
        std::printf("attempt %d: braking from %d, stopped at %d\n", attempt, brakeAt, a.stoppedAt);
        if (a.stoppedAt < from + 10)
            early = brakeAt;
        else if (a.stoppedAt > to - 10)
            late = brakeAt;
        else
            break;
    }
    EXPECT_GE(a.stoppedAt, from);
    EXPECT_LE(a.stoppedAt, to);
    EXPECT_TRUE(a.arrived) << "stopped at " << a.stoppedAt << ", braking from " << brakeAt;
    EXPECT_TRUE(a.doorsOpen);
}
