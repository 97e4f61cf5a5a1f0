// The handle steps and the read-out refresh.
#include <gtest/gtest.h>

#include "controls/handle_model.h"

using namespace ts;

namespace {

ts::Run train(int P, int B, int H, int brakeType = 1) {
    ts::Run r;
    r.powerNotchCount = P;
    r.brakeNotchCount = B;
    r.holdPositionEnabled = H;
    r.brakeType = ts::BrakeType(brakeType);
    r.brakeNotch = -B;
    const char* texts[kHandleLabelCount] = {"前", "中",       "後",     "",     "",     "",    "ユルメ",
                                            "切", "ブレーキ", "重なり", "保ち", "保持", "非常"};
    for (int i = 0; i < kHandleLabelCount; ++i) r.handleLabelTexts[size_t(i)] = texts[i];
    return r;
}

// The handle position as text: P3, N, H (hold), -2.
std::string pos(const Run& r) {
    if (r.holdPosition) return "H";
    if (r.powerNotch > 0) return "P" + std::to_string(r.powerNotch);
    if (r.brakeNotch < 0) return std::to_string(r.brakeNotch);
    return "N";
}

}  // namespace

TEST(HandleModel, CombinedHandleWithHoldPosition) {
    ts::Run r = train(5, 8, 1);
    std::vector<std::string> up;
    for (int i = 0; i < 11; ++i) {
        combinedNotchUp(r, r);
        up.push_back(pos(r));
    }
    EXPECT_EQ(up, (std::vector<std::string>{"-7", "-6", "-5", "-4", "-3", "-2", "-1", "H", "N", "P1", "P2"}));
    EXPECT_EQ(r.powerHandleMoved, 1);
    EXPECT_EQ(r.brakeHandleMoved, 1);
    std::vector<std::string> down;
    for (int i = 0; i < 12; ++i) {
        combinedNotchDown(r, r, 1 - r.brakeNotchCount);
        down.push_back(pos(r));
    }
    EXPECT_EQ(down, (std::vector<std::string>{"P1", "N", "H", "-1", "-2", "-3", "-4", "-5", "-6", "-7", "-7", "-7"}))
        << "the keys stop at the last service step";
    combinedNotchDown(r, r, -r.brakeNotchCount);
    EXPECT_EQ(pos(r), "-8") << "the wheel goes on into EB";
    combinedNotchDown(r, r, -r.brakeNotchCount);
    EXPECT_EQ(pos(r), "-8");
}

TEST(HandleModel, CombinedHandleWithoutHoldNeverJumpsFromBrakeToPower) {
    ts::Run r = train(3, 4, 0);
    std::vector<std::string> seen;
    for (int i = 0; i < 8; ++i) {
        combinedNotchUp(r, r);
        seen.push_back(pos(r));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"-3", "-2", "-1", "N", "P1", "P2", "P3", "P3"}));
    r.brakeNotch = -1;
    r.powerNotch = 0;
    combinedNotchUp(r, r);
    EXPECT_EQ(pos(r), "N");
    // Power up is refused while a brake or the hold position is set.
    ts::Run h = train(3, 8, 1);
    h.brakeNotch = 0;
    h.holdPosition = 1;
    combinedNotchUp(h, h);
    EXPECT_EQ(h.powerNotch, 0);
    EXPECT_EQ(pos(h), "N");
}

TEST(HandleModel, SeparateHandles) {
    ts::Run r = train(4, 8, 1);
    powerUp(r, r);
    powerUp(r, r);
    EXPECT_EQ(r.powerNotch, 2) << "power notches up while the brake is applied";
    EXPECT_EQ(r.brakeHandleMoved, 0);
    for (int i = 0; i < 5; ++i) powerUp(r, r);
    EXPECT_EQ(r.powerNotch, 4);
    for (int i = 0; i < 6; ++i) powerDown(r, r);
    EXPECT_EQ(r.powerNotch, 0);
    std::vector<std::string> seen;
    r.powerNotch = 2;
    for (int i = 0; i < 9; ++i) {
        brakeReleaseStep(r, r);
        seen.push_back(r.holdPosition ? "H" : r.brakeNotch < 0 ? std::to_string(r.brakeNotch) : "N");
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"-7", "-6", "-5", "-4", "-3", "-2", "-1", "H", "N"}));
    brakeApplyStep(r, r);
    EXPECT_TRUE(r.holdPosition) << "apply from release goes to hold first, power or not";
    brakeApplyStep(r, r);
    EXPECT_EQ(r.brakeNotch, -1);
    for (int i = 0; i < 10; ++i) brakeApplyStep(r, r);
    EXPECT_EQ(r.brakeNotch, -7);
    EXPECT_TRUE(brakeHandleEmergency(r, r));
    EXPECT_EQ(r.brakeNotch, -8);
    EXPECT_EQ(r.powerNotch, 2) << "the brake handle's emergency leaves the power handle alone";
    r.brakeHandleMoved = 0;
    EXPECT_FALSE(brakeHandleEmergency(r, r));
    EXPECT_EQ(r.brakeHandleMoved, 0);
}

TEST(HandleModel, NeutralAndEmergency) {
    ts::Run r = train(4, 8, 1);
    r.holdPosition = 1;
    allToNeutral(r, r);
    EXPECT_EQ(pos(r), "N");
    r.powerNotch = 3;
    emergency(r, r);
    EXPECT_EQ(r.powerNotch, 0);
    EXPECT_EQ(r.brakeNotch, -8);
}

TEST(HandleModel, ReverserOnlyAtWalkingPace) {
    ts::Run r = train(4, 8, 0);
    r.speed = 15000;
    EXPECT_FALSE(setReverser(r, r, 1));
    EXPECT_EQ(r.reverser, 0);
    r.speed = -10000;
    EXPECT_TRUE(setReverser(r, r, -1));
    EXPECT_EQ(r.reverser, -1);
}

TEST(HandleModel, DoorSwitchOnlyWhenSpeedRoundsToZero) {
    ts::Run r = train(4, 8, 0);
    class Doors final : public TDDSD {
    public:
        bool startUp() override { return true; }
        bool active() const override { return true; }
        int ChannelCount() const override { return 128; }
        TDDSDChannel& Channel(int) override { return ch; }
        WavePtr loadWave(const std::string&) override { return nullptr; }
        void SetPrimaryFormat(int, int, bool) override {}
        bool reinitialise() override { return true; }
        struct Ch final : TDDSDChannel {
            void setWaveData(const WavePtr&) override {}
            void Play() override { ++plays; }
            void PlayLoop() override {}
            void Stop() override {}
            int Status() override { return 0; }
            void SetFrequencyFactor(double) override {}
            void SetVolume(int32_t) override {}
            int plays = 0;
        } ch;
    } sound;
    r.speed = 6000;  // 0.6 km/h
    r.doorsOpen = 0;
    r.doorOpenCommand = 1;
    Door_operate(r, r, r, sound);
    EXPECT_EQ(r.doorOpenCommand, 0);
    EXPECT_EQ(r.doorsOpen, 0);
    EXPECT_EQ(sound.ch.plays, 0);
    r.speed = 4000;  // 0.4 km/h
    Door_operate(r, r, r, sound);
    EXPECT_EQ(r.doorOpenCommand, 1);
    EXPECT_EQ(r.doorsOpen, 1);
    Door_operate(r, r, r, sound);
    EXPECT_EQ(r.doorOpenCommand, 0);
    EXPECT_EQ(r.doorsOpen, 1) << "closing is completed by the 100 ms step";
    EXPECT_EQ(sound.ch.plays, 2);
}

TEST(Masconupdate, LabelsForBrakeType0AndNotched) {
    ts::Run r = train(4, 4, 0, 0);
    PanelModel p;
    std::vector<std::string> labels;
    for (int b = 0; b >= -4; --b) {
        r.brakeNotch = b;
        masconupdate(r, r, r, r, p);
        labels.push_back(p.labels["BrakeLabel"]);
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"ユルメ", "重なり", "保ち", "ブレーキ", "非常"}));
    EXPECT_EQ(p.labels["PowerLabel"], "切");
    EXPECT_EQ(p.labels["Label1"], "中");
    ts::Run n = train(5, 8, 1);
    n.brakeNotch = -3;
    n.powerNotch = 0;
    n.reverser = -1;
    masconupdate(n, n, n, n, p);
    EXPECT_EQ(p.labels["BrakeLabel"], "B3");
    EXPECT_EQ(p.labels["Label1"], "後");
    n.brakeNotch = 0;
    n.holdPosition = 1;
    masconupdate(n, n, n, n, p);
    EXPECT_EQ(p.labels["BrakeLabel"], "保持");
    n.holdPosition = 0;
    n.powerNotch = 3;
    masconupdate(n, n, n, n, p);
    EXPECT_EQ(p.labels["PowerLabel"], "P3");
    EXPECT_EQ(p.labels["BrakeLabel"], "ユルメ");
}

TEST(Masconupdate, NotchImagesInOrderNHoldServiceEB) {
    ts::Run r = train(3, 4, 1);
    r.NotchImageP.pictures = {10, 11, 12, 13};
    r.NotchImageB.pictures = {20, 21, 22, 23, 24, 25};  // N, hold, -1, -2, -3, EB
    PanelModel p;
    PanelItem lp, lb;
    lp.name = "Lamp_P";
    lb.name = "Lamp_B";
    lp.kind = lb.kind = PanelItem::Kind::Slot;
    p.items = {lp, lb};
    auto images = [&] { return std::make_pair(p.findItem("Lamp_P")->drawn, p.findItem("Lamp_B")->drawn); };
    r.brakeNotch = -4;
    masconupdate(r, r, r, r, p);
    EXPECT_EQ(images(), std::make_pair(std::optional<int>(0), std::optional<int>(5)));
    r.brakeNotch = 0;
    r.holdPosition = 1;
    masconupdate(r, r, r, r, p);
    EXPECT_EQ(images().second, 1);
    r.holdPosition = 0;
    r.brakeNotch = -1;
    masconupdate(r, r, r, r, p);
    EXPECT_EQ(images().second, 2);
    r.brakeNotch = 0;
    r.powerNotch = 3;
    masconupdate(r, r, r, r, p);
    EXPECT_EQ(images(), std::make_pair(std::optional<int>(3), std::optional<int>(0)));
    r.powerNotch = 4;  // beyond the list: paints nothing
    masconupdate(r, r, r, r, p);
    EXPECT_EQ(images().first, std::nullopt);
    r.safetyEmergencyBrake = 1;
    masconupdate(r, r, r, r, p);
    EXPECT_EQ(images(), std::make_pair(std::optional<int>(0), std::optional<int>(5)));
    r.safetyEmergencyBrake = 0;
    r.atsServiceBrake = 1;
    masconupdate(r, r, r, r, p);
    EXPECT_EQ(images(), std::make_pair(std::optional<int>(0), std::optional<int>(4)));
    EXPECT_EQ(r.powerNotch, 4) << "the safety systems show their brake without moving the handle";
}
