// Keys and the wheel on a whole run: the character table with its sound
// rules, the locked run, Scroll Lock, the Shift keys and the call-out.
#include <gtest/gtest.h>

#include "run_fixture.h"
#include "wave_writer.h"

using namespace ts;
using namespace ts::test;

namespace {

// Channels: br1 1, br2 2, EB 3, horn 4, horn2 5, door open 6, door close 7, EB ring 8, ats1 9, ats2 10.
const std::string kChannels =
    "[Sound_br1]\n1\n[Sound_br2]\n2\n[Sound_EB]\n3\n[Sound_Horn]\n4\n[Sound_Horn2]\n5\n[Sound_DoorOpen]\n6\n"
    "[Sound_DoorClose]\n7\n[Sound_EBring]\n8\n[Sound_Ats1]\n9\n[Sound_Ats2]\n10\n";

struct Keys : RunFixture {
    explicit Keys(const std::string& train, const std::string& line = "[OneMan]\n1\n") {
        // Channels 0 .. 10 hold one-second drive sounds, so that "idle" can be told.
        std::string drive = "[DriveSound]\n";
        for (int i = 0; i <= 10; ++i) drive += dir.write("d" + std::to_string(i) + ".wav", sineWave(200, 1.0)) + "\n";
        load(line, train + kChannels + drive + "#\n");
        run->start1Click();  // unlocks the keys
        ops();
    }
    void type(const std::string& chars) {
        for (char c : chars) run->AsciiDown(c);
    }
    int brake() {
        return get([](ts::Run& r, PanelModel&) { return r.brakeNotch; });
    }
    int power() {
        return get([](ts::Run& r, PanelModel&) { return r.powerNotch; });
    }
};

const std::string kCombined = "[Handle]\n0\n[BrakeType]\n1\n[Brake]\n8\n[Power]\n4\n";
const std::string kSeparate = "[Handle]\n1\n[BrakeType]\n1\n[Brake]\n8\n[Power]\n4\n";
const std::string kAutomatic = "[Handle]\n0\n[BrakeType]\n0\n[Brake]\n8\n[Power]\n4\n[EBPress]\n400\n";

}  // namespace

TEST(Keyboard, LockedRunIgnoresDrivingKeysButNotTheWheelOrTheVigilanceReset) {
    RunFixture f;
    f.load("", kCombined + kChannels);
    f.set([](ts::Run& r, PanelModel&) { r.ebDeviceIdleTicks = 50; });
    f.run->AsciiDown('z');
    f.run->AsciiDown('f');
    EXPECT_EQ(f.get([](ts::Run& r, PanelModel&) { return r.brakeNotch; }), -8);
    EXPECT_EQ(f.get([](ts::Run& r, PanelModel&) { return r.reverser; }), 0);
    EXPECT_EQ(f.get([](ts::Run& r, PanelModel&) { return r.ebDeviceIdleTicks; }), 0);
    EXPECT_EQ(f.ops(), (std::vector<std::string>{"8:stop", "8:stop"})) << "the common start stops the EB ring";
    f.run->WheelD();
    EXPECT_EQ(f.get([](ts::Run& r, PanelModel&) { return r.brakeNotch; }), -7);
    EXPECT_EQ(f.get([](ts::Run&, PanelModel& p) { return p.labels["BrakeLabel"]; }), "B7");
}

TEST(Keyboard, CombinedHandleKeysAndSounds) {
    Keys k(kCombined);
    k.type("z");
    EXPECT_EQ(k.brake(), -7);
    EXPECT_EQ(k.ops(), (std::vector<std::string>{"8:stop", "1:stop", "1:play"})) << "br1 restarted when idle";
    k.type("a");
    EXPECT_EQ(k.brake(), -7) << "the key stops before EB";
    EXPECT_EQ(k.ops(), (std::vector<std::string>{"8:stop"}));
    k.type("q");
    EXPECT_EQ(k.brake(), -8);
    k.type("5");
    EXPECT_EQ(k.brake(), 0);
    EXPECT_EQ(k.ops(), (std::vector<std::string>{"8:stop", "8:stop", "2:stop", "2:play"}));
    k.type("88");
    EXPECT_EQ(k.power(), 2);
    k.type("0");
    EXPECT_EQ(k.power(), 0);
    EXPECT_EQ(k.brake(), -8);
    EXPECT_EQ(k.ops().back(), "3:play");
    k.type("0");
    EXPECT_EQ(k.ops(), (std::vector<std::string>{"8:stop"})) << "0 at EB plays nothing";
    EXPECT_EQ(k.get([](ts::Run& r, PanelModel&) { return r.brakeHandleMoved + r.powerHandleMoved; }), 2);
}

TEST(Keyboard, Br1RestartsOnlyWhenIdle) {
    Keys k(kCombined);
    k.type("z");
    k.ops();
    k.type("z");
    EXPECT_EQ(k.ops(), (std::vector<std::string>{"8:stop"})) << "br1 still sounding: not restarted";
}

TEST(Keyboard, SeparateHandles) {
    Keys k(kSeparate);
    k.type("q");
    EXPECT_EQ(k.brake(), -8) << "q does nothing with separate handles";
    k.type("zz");
    EXPECT_EQ(k.power(), 2) << "power notches up under the brake";
    k.type(",");
    EXPECT_EQ(k.brake(), -7);
    k.ops();
    k.type("/");
    EXPECT_EQ(k.brake(), -8);
    EXPECT_EQ(k.power(), 2);
    EXPECT_EQ(k.ops(), (std::vector<std::string>{"8:stop", "3:stop", "3:play"}));
    k.type("/");
    EXPECT_EQ(k.ops(), (std::vector<std::string>{"8:stop"})) << "'/' at EB: no sound, no change";
    k.type("a");
    EXPECT_EQ(k.power(), 1);
}

TEST(Keyboard, AutomaticAirBrakeSoundRules) {
    Keys k(kAutomatic);
    EXPECT_EQ(k.brake(), -4) << "brake type 0 has four positions whatever [Brake] says";
    k.type("z");
    EXPECT_EQ(k.ops(), (std::vector<std::string>{"8:stop"})) << "brake type 0: br1 only on release to 0";
    k.type("zz");
    EXPECT_EQ(k.brake(), -1);
    k.ops();
    k.type("z");
    EXPECT_EQ(k.brake(), 0);
    EXPECT_EQ(k.ops(), (std::vector<std::string>{"8:stop", "1:stop", "1:play"})) << "released to 0 with pressure";
    k.clock.setNow(k.clock.now() + 1100);  // the release sound has ended
    k.type("222");
    EXPECT_EQ(k.brake(), -3);
    EXPECT_EQ(k.ops().back(), "1:play") << "'2' into the apply position";
}

TEST(Keyboard, ScrollLockSwapsTwoAndEight) {
    Keys k(kCombined);
    k.type("5");
    k.run->keydowns(Key::ScrollLock, {});
    k.type("8");
    EXPECT_EQ(k.brake(), -1) << "'8' brakes";
    k.type("22");
    EXPECT_EQ(k.brake(), 0);
    EXPECT_EQ(k.power(), 1) << "'2' powers";
    k.run->keydowns(Key::ScrollLock, {});
    k.type("8");
    EXPECT_EQ(k.power(), 2);
}

TEST(Keyboard, ReverserDoorsHornsAndReset) {
    Keys k(kCombined);
    k.type("f");
    EXPECT_EQ(k.get([](ts::Run& r, PanelModel& p) { return std::make_pair(r.reverser, p.labels["Label1"]); }),
              std::make_pair(1, std::string("F")));
    k.set([](ts::Run& r, PanelModel&) { r.speed = 15000; });
    k.type("b");
    EXPECT_EQ(k.get([](ts::Run& r, PanelModel&) { return r.reverser; }), 1) << "ignored at 1.5 km/h";
    k.set([](ts::Run& r, PanelModel&) { r.speed = 0; });
    k.ops();
    k.type("36d");
    EXPECT_EQ(k.ops(), (std::vector<std::string>{"8:stop", "4:stop", "4:play", "8:stop", "5:stop", "5:play", "8:stop",
                                                 "7:stop", "7:play"}))
        << "the doors stand open at load: 'd' closes them";
    k.set([](ts::Run& r, PanelModel&) {
        r.safetyEmergencyBrake = 1;
        r.atsBellRinging = 1;
    });
    k.type("r");
    EXPECT_EQ(k.get([](ts::Run& r, PanelModel&) { return r.safetyEmergencyBrake * 10 + r.atsConfirmed; }), 1);
    k.set([](ts::Run& r, PanelModel&) {
        r.safetyEmergencyBrake = 1;
        r.speed = 60000;
    });
    k.type("r");
    EXPECT_EQ(k.get([](ts::Run& r, PanelModel&) { return r.safetyEmergencyBrake; }), 1) << "no reset while moving";
}

TEST(Keyboard, DoorKeyNeedsOneManOperation) {
    Keys k(kCombined, "[OneMan]\n0\n");
    k.type("d");
    EXPECT_EQ(k.ops(), (std::vector<std::string>{"8:stop"}));
}

TEST(Keyboard, ConfirmWithAndWithoutBrake) {
    Keys k(kCombined);
    k.set([](ts::Run& r, PanelModel&) {
        r.atsBellRinging = 1;
        r.brakeNotch = 0;
    });
    k.type(" ");
    EXPECT_EQ(k.get([](ts::Run& r, PanelModel&) { return r.atsBellRinging; }), 1) << "no confirm without the brake";
    k.set([](ts::Run& r, PanelModel&) { r.brakeNotch = -2; });
    k.type(" ");
    EXPECT_EQ(k.get([](ts::Run& r, PanelModel&) {
        return std::make_tuple(r.atsBellRinging, r.atsChimePending, r.atsConfirmed);
    }),
              std::make_tuple(0, 1, 1));
    k.type(" ");
    EXPECT_EQ(k.get([](ts::Run& r, PanelModel&) { return r.atsChimePending; }), 0);
}

TEST(Keyboard, ShiftKeysAreExactlyShift) {
    Keys k(kCombined);
    ShiftState shift;
    shift.shift = true;
    ShiftState ctrlShift = shift;
    ctrlShift.ctrl = true;
    const int start = k.get([](ts::Run& r, PanelModel&) { return r.trainPosition; });
    k.run->keydowns(Key::F8, ctrlShift);
    EXPECT_EQ(k.get([](ts::Run& r, PanelModel&) { return r.trainPosition; }), start);
    k.run->keydowns(Key::F8, shift);
    EXPECT_EQ(k.get([](ts::Run& r, PanelModel&) { return r.trainPosition; }), start + 1000);
    k.set([](ts::Run& r, PanelModel&) { r.speed = 80000; });
    k.run->keydowns(Key::F11, shift);
    EXPECT_EQ(k.get([](ts::Run& r, PanelModel&) { return r.speed; }), 80000) << "8 km/h stays";
    k.set([](ts::Run& r, PanelModel&) { r.speed = 120000; });
    k.run->keydowns(Key::F11, shift);
    EXPECT_EQ(k.get([](ts::Run& r, PanelModel&) { return r.speed; }), 20000);
    k.run->keydowns(Key::F10, shift);
    k.run->keydowns(Key::F1, shift);
    EXPECT_EQ(k.get([](ts::Run& r, PanelModel&) { return std::make_pair(r.recordedSpeedMode, r.staffShown); }),
              std::make_pair(uint8_t(1), uint8_t(1)))
        << "Shift+F1 also toggles the timetable card";
}

TEST(Keyboard, CallOutChannelArithmetic) {
    // 2 drive sounds, 3 route sounds: K = 5; with [KankoSound2] two pairs, kankoCount = 30.
    std::string line = "[SoundData]\na\nb\nc\n#\n[KankoSound1]\n";
    for (int i = 0; i < 28; ++i) line += "\n";
    line += "[KankoSound2]\n出発進行\nx\n場内進行\ny\n#\n";
    RunFixture f;
    f.load(line, "[DriveSound]\nd\ne\n#\n");
    f.run->start1Click();
    auto callOut = [&](auto setup) {
        (void)setup;
        f.set(setup);
        f.ops();
        f.run->keydowns(Key::Enter, {});
        return f.ops();
    };
    EXPECT_EQ(callOut([](ts::Run& r, PanelModel&) { r.signCallIndex = 2; }),
              (std::vector<std::string>{"37:stop", "37:play"}));
    EXPECT_EQ(callOut([](ts::Run& r, PanelModel&) {
                  r.signCallIndex = 999;
                  r.speedLimitSignShown = 1;
                  r.shownSpeedLimit = 45;
              }),
              (std::vector<std::string>{"17:stop", "17:play"}));
    EXPECT_EQ(callOut([](ts::Run& r, PanelModel& p) {
                  r.speedLimitSignShown = 0;
                  r.nextSignalAspect = 1;
                  p.labels["SignalLabel"] = "場内進行";
              }),
              (std::vector<std::string>{"34:stop", "34:play", "10:stop", "10:play"}));
    EXPECT_TRUE(callOut([](ts::Run& r, PanelModel&) { r.nextSignalAspect = 999; }).empty());
}
