// Messages of the serial controller on a whole run (RxChar).
#include <gtest/gtest.h>

#include "run_fixture.h"

using namespace ts;
using namespace ts::test;

namespace {

const char* kMap =
    "P1XXX\nP2XXX\nP3XXX\nP4XXX\nP5XXX\nP6XXX\nN0XXX\nB1XXX\nB2XXX\nB3XXX\nB4XXX\nB5XXX\nB6XXX\nB7XXX\n"
    "B8XXX\nEBXXX\nRFXXX\nRNXXX\nRBXXX\nSW1XX\nSW2XX\nSW3XX\n#\n";

struct PostRecorder : RunHost {
    std::vector<PostedInput> posted;
    void postInput(PostedInput p) override { posted.push_back(p); }
};

struct Controller : RunFixture {
    PostRecorder recorder;
    std::vector<DrivingRun::PostedInput>& posted = recorder.posted;
    explicit Controller(const char* map = kMap) {
        dir.write("mascon.txt", map);
        load("", "[Handle]\n0\n[BrakeType]\n1\n[Brake]\n8\n[Power]\n4\n[Sound_EB]\n3\n[Sound_EBring]\n8\n");
        // The fixture writes its own mascon.txt: load the map again over it.
        dir.write("mascon.txt", map);
        fatal = false;
        run = std::make_unique<DrivingRun>("789", RunServices{boxes, clock, pictures, sound, video, recorder});
        {
            ScopedCwd cwd(dir.path());
            run->formCreate();
        }
        ops();
    }
    std::pair<int, int> handles() {
        return get([](ts::Run& r, PanelModel&) { return std::make_pair(r.powerNotch, r.brakeNotch); });
    }
};

}  // namespace

TEST(SerialController, AbsolutePositionsClampedToTheTrain) {
    Controller c;
    c.run->RxChar("P2XXX");
    EXPECT_EQ(c.handles(), std::make_pair(2, 0));
    EXPECT_EQ(c.get([](ts::Run& r, PanelModel& p) { return p.labels["PowerLabel"] + (r.powerHandleMoved ? "*" : ""); }),
              "P2*");
    c.run->RxChar("P6XXX");
    EXPECT_EQ(c.handles(), std::make_pair(4, 0)) << "six notches on the unit, four on the train";
    c.run->RxChar("B3XXX");
    EXPECT_EQ(c.handles(), std::make_pair(0, -3));
    c.run->RxChar("EBXXX");
    EXPECT_EQ(c.handles(), std::make_pair(0, -8)) << "-9 of the unit is the train's emergency position";
    EXPECT_EQ(c.ops(), (std::vector<std::string>{"8:stop", "8:stop", "8:stop", "8:stop", "3:stop", "3:play"}));
    c.run->RxChar("EBXXX");
    EXPECT_EQ(c.ops(), (std::vector<std::string>{"8:stop", "3:stop", "3:play"})) << "entry 15 always sounds";
    c.run->RxChar("N0XXX");
    EXPECT_EQ(c.handles(), std::make_pair(0, 0));
}

TEST(SerialController, MatchingOnTheFirstFiveCharacters) {
    Controller c;
    c.run->RxChar("B1XXXZ");
    EXPECT_EQ(c.handles(), std::make_pair(0, -1)) << "a sixth character does not matter";
    c.run->RxChar("B2XX");
    EXPECT_EQ(c.handles(), std::make_pair(0, -1)) << "four characters match no five-character code";
    EXPECT_EQ(c.get([](ts::Run&, PanelModel& p) { return p.valueDisplayCaption; }), "B2XX");
}

TEST(SerialController, NonMatchingMessageChangesOnlyCaptionAndVigilance) {
    Controller c;
    c.run->RxChar("P1XXX");
    c.set([](ts::Run& r, PanelModel&) {
        r.ebDeviceIdleTicks = 300;
        r.speed = 30000;  // 3 km/h
    });
    c.run->RxChar("RBXXX");
    EXPECT_EQ(c.get([](ts::Run& r, PanelModel&) { return r.reverser; }), 0) << "no reverser at 3 km/h";
    EXPECT_EQ(c.get([](ts::Run& r, PanelModel&) { return r.ebDeviceIdleTicks; }), 0);
    EXPECT_EQ(c.get([](ts::Run&, PanelModel& p) { return p.valueDisplayCaption; }), "RBXXX");
    c.run->RxChar("hello");
    EXPECT_EQ(c.handles(), std::make_pair(1, 0));
    c.set([](ts::Run& r, PanelModel&) { r.speed = 0; });
    c.run->RxChar("RFXXX");
    EXPECT_EQ(c.get([](ts::Run& r, PanelModel&) { return r.reverser; }), 1);
}

TEST(SerialController, SwitchesPostTheirKeys) {
    Controller c;
    c.run->RxChar("SW1XX");
    c.run->RxChar("SW2XX");
    c.run->RxChar("SW3XX");
    EXPECT_EQ(c.posted,
              (std::vector<DrivingRun::PostedInput>{DrivingRun::PostedInput::Space, DrivingRun::PostedInput::Horn,
                                                    DrivingRun::PostedInput::Enter}));
}

TEST(SerialController, MapCutShortByHash) {
    Controller c("P1XXX\nP2XXX\nP3XXX\nP4XXX\nP5XXX\nP6XXX\nN0XXX\n#B1XXX\n");
    c.run->RxChar("B1XXX");
    EXPECT_EQ(c.handles(), std::make_pair(0, -8)) << "entries 7 on are empty: no match";
    c.run->RxChar("N0XXX");
    c.ops();
    c.run->RxChar("");
    EXPECT_EQ(c.handles(), std::make_pair(0, -8))
        << "an empty message matches entries 7 .. 21: the last position is 15's";
    EXPECT_EQ(c.ops(), (std::vector<std::string>{"8:stop", "3:stop", "3:play"}));
    EXPECT_EQ(c.posted.size(), 3u);
}
