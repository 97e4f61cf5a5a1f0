// Route events of the 100 ms step and the aspect computation, on a bare run
// state with a recording sound bank.
#include <gtest/gtest.h>

#include "events/clock.h"
#include "events/codes.h"
#include "events/signals.h"
#include "events/signs.h"
#include "events/stations.h"
#include "sound/recording_sound.h"
#include "test_support.h"
#include "wave_writer.h"

using namespace ts;

namespace {

struct Bench {
    ts::Run r;
    PanelModel p;
    int64_t now = 0;
    RecordingSound sound{128, [this] { return now; }};
    test::TempDir dir;

    Bench() {
        sound.startUp();
        for (const char* n : {"SignalImage", "stop", "SpeedLimitImage", "SlopeImage", "OtherImage"}) {
            PanelItem i;
            i.name = n;
            i.kind = PanelItem::Kind::Slot;
            p.items.push_back(i);
        }
        for (const char* n : {"Lamp_Door", "Lamp_EB", "Lamp_Ats", "Lamp_G", "Lamp_YG", "Lamp_Y", "Lamp_YY", "Lamp_R",
                              "staffImage", "Panel2"}) {
            PanelItem i;
            i.name = n;
            i.visible = false;
            p.items.push_back(i);
        }
        p.labels["SignalLabel"] = "";
        p.labels["Label4"] = "";
        r.SignalImageList.pictures.assign(22, 0);
        r.SignImageList.pictures.assign(25, 0);
        r.OtherImageList.pictures.assign(10, 0);
        r.nextSignalAspect = r.shownSignalAspect = r.atsAlarmState = 999;
        r.brakeNotchCount = 8;
        r.handleLabelTexts[kStop] = " stop";
        r.handleLabelTexts[kPass] = " pass";
        r.handleLabelTexts[kStop2] = " stop2";
    }
    // Gives a channel a wave of this length, so that Status tells when it ends.
    void wave(int channel, double seconds) {
        const std::string path = dir.write("w" + std::to_string(channel) + ".wav", test::sineWave(200, seconds));
        sound.Channel(channel).setWaveData(sound.loadWave(path));
    }
    bool shown(const char* name) { return p.findItem(name)->visible; }
    std::optional<int> drawn(const char* name) { return p.findItem(name)->drawn; }
    std::vector<std::string> ops() {
        std::vector<std::string> out;
        for (const auto& o : sound.takeOps()) {
            std::string s = std::to_string(o.channel) + ":" + o.op;
            if (o.value) s += ":" + std::to_string(int(*o.value));
            out.push_back(s);
        }
        return out;
    }
};

SignalData block(int set, int to) {
    SignalData s;
    s.aspectSet = set;
    s.fromPosition = to - 100;
    s.toPosition = to;
    s.alarmPosition = to - 40;
    s.checkPosition = to - 20;
    return s;
}

}  // namespace

TEST(Signals, PrecedingTrainBetweenFiveAndSixWithRepeaters) {
    Bench b;
    // b1 b2 b3 R34 b4 R45 b5 b6
    b.r.signalTable = {block(3, 100), block(3, 200), block(3, 300), block(0, 350),
                       block(3, 400), block(0, 450), block(3, 500), block(3, 600)};
    b.r.precedingTrainPosition = 550;
    computeSignalAspects(b.r, b.r, b.r);
    EXPECT_EQ(b.r.signalAspects, (std::vector<int32_t>{4, 4, 4, 2, 2, 0, 0, 4}));
    EXPECT_EQ(signalImageIndex(0, 0), 0) << "repeater behind the stop signal";
    EXPECT_EQ(signalImageIndex(0, 2), 1) << "repeater behind the Y signal";
    EXPECT_EQ(signalImageIndex(1, 2), 4);
    EXPECT_EQ(signalImageIndex(7, 0), 17);
    // The last block signal's block runs to the end of the line.
    b.r.precedingTrainPosition = 4000;
    computeSignalAspects(b.r, b.r, b.r);
    EXPECT_EQ(b.r.signalAspects[7], 0);
    EXPECT_EQ(b.r.signalAspects[6], 2);
    b.r.precedingTrainPosition = kEndOfLine;
    computeSignalAspects(b.r, b.r, b.r);
    EXPECT_EQ(b.r.signalAspects[7], 0) << "still on the line at its last frame";
    // Past the end of the line the preceding train has left the last block.
    b.r.precedingTrainPosition = kEndOfLine + 1;
    computeSignalAspects(b.r, b.r, b.r);
    EXPECT_EQ(b.r.signalAspects[7], 4);
    EXPECT_EQ(b.r.signalAspects[6], 4);
}

TEST(Signals, FixedAspectsByKindAndReleaseTime) {
    Bench b;
    b.r.signalTable = {block(3, 100), block(3, 200)};
    b.r.signalTable[0].kind = 1;
    b.r.signalTable[0].fixedAspect = 0;
    b.r.signalTable[0].releaseTime = 1000;
    b.r.signalTable[1].kind = 2;
    b.r.signalTable[1].fixedAspect = 1;
    b.r.precedingTrainPosition = 1000;
    b.r.clockTicks = 999;
    computeSignalAspects(b.r, b.r, b.r);
    EXPECT_EQ(b.r.signalAspects[0], 0);
    EXPECT_EQ(b.r.signalAspects[1], 1);
    b.r.clockTicks = 1000;
    computeSignalAspects(b.r, b.r, b.r);
    EXPECT_EQ(b.r.signalAspects[0], 2) << "released: a block signal behind the stop signal";
}

TEST(TrainStop, StopSignalAlarmConfirmAndEmergency) {
    Bench b;
    b.r.atsType = ts::ProtectionType::TrainStop;
    b.r.atsAlert = 0;
    b.r.atsTime = 5;
    b.r.soundAts1 = 9;
    b.r.soundAts2 = 10;
    b.r.signalTable = {block(1, 1000)};
    b.r.signalTable[0].label = "第1閉塞";
    b.r.precedingTrainPosition = 1200;  // the signal shows stop
    computeSignalAspects(b.r, b.r, b.r);
    b.r.trainPosition = 950;
    cabSignalDisplay(b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.r.nextSignalAspect, 3);
    EXPECT_EQ(b.drawn("SignalImage"), 3);
    EXPECT_EQ(b.p.labels["SignalLabel"], "第1閉塞");
    b.r.trainPosition = 961;  // 1 frame past the alarm point
    computeSignalAspects(b.r, b.r, b.r);
    cabSignalDisplay(b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.r.atsAlarmState, 998);
    b.ops();
    automaticTrainStop(b.r, b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.r.atsBellRinging, 1);
    EXPECT_TRUE(b.shown("Lamp_Ats"));
    EXPECT_EQ(b.ops(), (std::vector<std::string>{"9:stop", "10:stop", "9:loop"}));
    // Without confirmation the emergency brake follows after atsTime x 10 steps.
    for (int i = 1; i < 50; ++i) automaticTrainStop(b.r, b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.r.safetyEmergencyBrake, 0);
    automaticTrainStop(b.r, b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.r.safetyEmergencyBrake, 1);
    EXPECT_EQ(b.r.atsBellTicks, 0) << "the count starts again";
}

TEST(TrainStop, CheckPointOfAStopSignalBrakesAtOnce) {
    Bench b;
    b.r.atsType = ts::ProtectionType::TrainStop;
    b.r.signalTable = {block(3, 1000)};
    b.r.precedingTrainPosition = 1200;
    computeSignalAspects(b.r, b.r, b.r);
    b.r.trainPosition = 950;
    cabSignalDisplay(b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.r.nextSignalAspect, 9);
    b.r.trainPosition = 981;
    computeSignalAspects(b.r, b.r, b.r);
    cabSignalDisplay(b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.r.atsAlarmState, 0);
    EXPECT_EQ(b.r.nextSignalAspect, 999);
    automaticTrainStop(b.r, b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.r.atsBellRinging, 1);
    EXPECT_EQ(b.r.safetyEmergencyBrake, 1) << "the bell starts in the same step";
}

TEST(TrainStop, SpeedCheckingAlarmWithTheYRestriction) {
    Bench b;
    b.r.atsType = ts::ProtectionType::TrainStop;
    b.r.atsAlert = 1;
    b.r.signalSpeedY = 45;
    b.r.signalSpeedYY = 25;
    b.r.signalSpeedYG = 65;
    b.r.signalTable = {block(3, 1000), block(3, 2000)};
    b.r.precedingTrainPosition = 2500;  // signal 2 stop, signal 1 Y
    computeSignalAspects(b.r, b.r, b.r);
    b.r.trainPosition = 950;
    cabSignalDisplay(b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.r.nextSignalAspect, 10);
    b.r.trainPosition = 985;
    computeSignalAspects(b.r, b.r, b.r);
    cabSignalDisplay(b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.r.atsAlarmState, 45);
    b.r.speed = 500000;  // 50 km/h: not above 45 + 5
    automaticTrainStop(b.r, b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.r.atsBellRinging, 0);
    EXPECT_TRUE(b.shown("Lamp_Y"));
    b.r.speed = 500001;
    automaticTrainStop(b.r, b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.r.atsBellRinging, 1);
    // No alarm with the brake handle at the emergency position.
    Bench e;
    e.r.atsType = ts::ProtectionType::TrainStop;
    e.r.atsAlert = 0;
    e.r.atsAlarmState = 998;
    e.r.brakeNotch = -8;
    automaticTrainStop(e.r, e.r, e.r, e.r, e.r, e.r, e.p, e.sound);
    EXPECT_EQ(e.r.atsBellRinging, 0);
}

TEST(SpeedControl, BrakesWhileTooFastAndReleases) {
    Bench b;
    b.r.atsType = ts::ProtectionType::SpeedControl;
    b.r.signalSpeedG = 100;
    b.r.signalSpeedY = 45;
    b.r.nextSignalAspect = 12;  // clear
    b.r.brakeNotch = 0;
    b.r.speed = 1000001;
    speedControl(b.r, b.r, b.r, b.r, b.r, b.r, b.p);
    EXPECT_EQ(b.r.atsServiceBrake, 1);
    EXPECT_EQ(b.r.atcBrakeHolding, 1);
    b.r.speed = 1000000;
    speedControl(b.r, b.r, b.r, b.r, b.r, b.r, b.p);
    EXPECT_EQ(b.r.atsServiceBrake, 0);
    EXPECT_EQ(b.r.atcBrakeHolding, 0);
    // A 3-aspect signal at state 2 lights Lamp_Y under speed control.
    b.r.signalTable = {block(1, 1000), block(1, 2000)};
    b.r.precedingTrainPosition = 2500;
    computeSignalAspects(b.r, b.r, b.r);
    b.r.trainPosition = 950;
    b.r.shownSignalAspect = 999;
    cabSignalDisplay(b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.r.nextSignalAspect, 4);
    EXPECT_TRUE(b.shown("Lamp_Y"));
    EXPECT_FALSE(b.shown("Lamp_G"));
}

TEST(Stations, ArrivalDoorsDepartureAndClosing) {
    Bench b;
    b.r.stationTable = {
        {0, "A", 90, 110, 2, 1000, 1100, 150000}, {1, "B", 500, 520, 0, 0, 0, 0}, {2, "C", 900, 920, 3, 2000, 2100, 0}};
    b.r.driveSoundFiles = {"d0", "d1"};
    b.r.soundDoorOpen = 20;
    b.r.soundDoorClose = 21;
    b.wave(4, 2.0);  // departure sound of A on channel 2 + 2
    b.r.trainPosition = 100;
    b.r.clockTicks = 900;
    stationScan(b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.r.stationArrived[0], 1);
    EXPECT_EQ(b.drawn("stop"), 0);
    EXPECT_EQ(b.p.labels["Label4"], "A");
    EXPECT_EQ(b.r.doorsOpen, 1) << "automatic doors open at standstill";
    b.r.clockTicks = 1001;
    stationScan(b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.r.stationDepartureSoundPlayed[0], 1);
    EXPECT_EQ(double(b.r.stopDistance), 150000.0);
    b.r.clockTicks = 1101;
    b.now = 1000;  // the departure sound still plays
    stationScan(b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.r.stationDeparted[0], 0) << "door closing waits for the departure sound";
    b.now = 2000;
    stationScan(b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.r.stationDeparted[0], 1);
    EXPECT_EQ(b.r.doorOpenCommand, 0);
    // Leaving: the pass station's name with its suffix, stop sign cleared.
    b.r.trainPosition = 300;
    stationScan(b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.p.labels["Label4"], "B pass");
    EXPECT_EQ(b.drawn("stop"), std::nullopt);
    b.r.trainPosition = 510;  // through the pass station: no stop sign, name kept
    stationScan(b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.p.labels["Label4"], "B pass");
    EXPECT_EQ(b.r.stationArrived[1], 0);
    b.r.trainPosition = 600;
    stationScan(b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.p.labels["Label4"], "C stop2");
}

TEST(Stations, KindTwoAndOneManDoors) {
    Bench b;
    b.r.stationTable = {{2, "P", 90, 110, 0, 1000, 1100, 0}};
    b.r.trainPosition = 100;
    b.r.clockTicks = 1200;
    b.r.doorsOpen = 0;
    stationScan(b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.r.doorsOpen, 0) << "no door action at a kind 2 station";
    EXPECT_EQ(b.r.stationDepartureSoundPlayed[0], 1);
    EXPECT_EQ(b.r.stationDeparted[0], 0);
    Bench m;
    m.r.oneManOperation = 1;
    m.r.stationTable = {{0, "Q", 90, 110, 0, 1000, 1100, 0}};
    m.r.trainPosition = 100;
    m.r.clockTicks = 1200;
    stationScan(m.r, m.r, m.r, m.r, m.r, m.p, m.sound);
    EXPECT_EQ(m.r.doorsOpen, 0) << "one-man: the doors do not open by themselves";
    EXPECT_EQ(m.r.stationDepartureSoundPlayed[0], 0) << "and the departure sound needs them open";
}

TEST(Stations, DoorLampCompletesClosing) {
    Bench b;
    b.r.soundDoorClose = 21;
    b.wave(21, 1.0);
    b.r.doorsOpen = 1;
    b.r.doorOpenCommand = 0;
    b.sound.Channel(21).Play();
    doorLamp(b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.r.doorsOpen, 1);
    EXPECT_FALSE(b.shown("Lamp_Door"));
    b.now = 1000;
    doorLamp(b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.r.doorsOpen, 0);
    EXPECT_TRUE(b.shown("Lamp_Door"));
}

TEST(Vigilance, WarningOn601stAndEmergencyOn651stStep) {
    Bench b;
    b.r.ebSetting = 1;
    b.r.speed = 10001;
    b.r.soundEBring = 30;
    for (int i = 0; i < 600; ++i) vigilanceDevice(b.r, b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_FALSE(b.shown("Lamp_EB"));
    vigilanceDevice(b.r, b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_TRUE(b.shown("Lamp_EB"));
    for (int i = 0; i < 49; ++i) vigilanceDevice(b.r, b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.r.safetyEmergencyBrake, 0);
    vigilanceDevice(b.r, b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.r.safetyEmergencyBrake, 1);
    EXPECT_EQ(b.r.ebDeviceIdleTicks, 0);
    b.r.speed = 10000;  // 1 km/h: no count
    vigilanceDevice(b.r, b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.r.ebDeviceIdleTicks, 0);
    b.r.recordedSpeedMode = 1;
    vigilanceDevice(b.r, b.r, b.r, b.r, b.r, b.r, b.p, b.sound);
    EXPECT_EQ(b.r.ebSetting, 0);
}

TEST(Stations, EndOfLineAndCaption) {
    ts::Run r;
    r.trainPosition = 4500;
    EXPECT_FALSE(endOfLine(r, r));
    r.trainPosition = 4501;
    EXPECT_TRUE(endOfLine(r, r));
    r.hasEndPosition = true;
    r.endPosition = 9000;
    EXPECT_FALSE(endOfLine(r, r)) << "[EndPos] moves the end of the line";
    r.trainPosition = 9001;
    EXPECT_TRUE(endOfLine(r, r));
    PanelModel p;
    r.lineName = "北線";
    windowCaption(r, p);
    EXPECT_EQ(p.caption, "北線");
    p.caption = "other";
    windowCaption(r, p);
    EXPECT_EQ(p.caption, "other");
}

TEST(Signs, SpeedLimitImagesAndBlink) {
    EXPECT_EQ(speedLimitImage(55), 11);
    EXPECT_EQ(speedLimitImage(57), 0);
    EXPECT_EQ(speedLimitImage(120), 24);
    EXPECT_EQ(speedLimitImage(10), 0);
    Bench b;
    b.r.speedLimitTable = {{55, 100, 200, 300}};
    b.r.trainPosition = 150;
    speedLimitSigns(b.r, b.r, b.r, b.p);
    EXPECT_EQ(b.drawn("SpeedLimitImage"), 11);
    EXPECT_EQ(b.r.speedLimitSignShown, 1);
    EXPECT_EQ(b.r.shownSpeedLimit, 55);
    b.r.presentationTicks = 5;
    speedLimitBlink(b.r, b.r, b.p);
    EXPECT_FALSE(b.p.findItem("SpeedLimitImage")->visible);
    b.r.presentationTicks = 10;
    speedLimitBlink(b.r, b.r, b.p);
    EXPECT_TRUE(b.p.findItem("SpeedLimitImage")->visible);
    b.r.trainPosition = 250;
    speedLimitSigns(b.r, b.r, b.r, b.p);
    EXPECT_EQ(b.r.speedLimitSignShown, 0);
    EXPECT_EQ(b.r.activeSpeedLimit, 55);
    b.r.trainPosition = 400;
    speedLimitSigns(b.r, b.r, b.r, b.p);
    EXPECT_EQ(b.drawn("SpeedLimitImage"), std::nullopt);
    EXPECT_EQ(b.r.activeSpeedLimit, 0);
}

TEST(Signs, AdjacentSignRowsKeepTheFirstSign) {
    Bench b;
    b.r.signTable = {{100, 200, 3}, {200, 300, 5}};
    b.r.signCallIndex = 999;
    b.r.trainPosition = 150;
    otherSigns(b.r, b.r, b.r, b.p);
    EXPECT_EQ(b.drawn("OtherImage"), 3);
    b.r.trainPosition = 250;
    otherSigns(b.r, b.r, b.r, b.p);
    EXPECT_EQ(b.drawn("OtherImage"), 3);
    EXPECT_EQ(b.r.signCallIndex, 3);
    b.r.trainPosition = 300;
    otherSigns(b.r, b.r, b.r, b.p);
    EXPECT_EQ(b.r.signCallIndex, 999);
    EXPECT_EQ(b.drawn("OtherImage"), std::nullopt);
}

TEST(Signs, GradientSignBetweenRows) {
    Bench b;
    b.r.slopeTable = {{100, 200, 25000}, {300, 400, -100000}};
    b.r.trainPosition = 150;
    gradientSign(b.r, b.r, b.r, b.p);
    EXPECT_EQ(b.drawn("SlopeImage"), 1);
    EXPECT_EQ(b.p.labels["SlopeText"], "2.5");
    EXPECT_EQ(b.r.pointGradient, 25000);
    b.r.trainPosition = 200;  // exactly at the row's end: nothing changes
    gradientSign(b.r, b.r, b.r, b.p);
    EXPECT_EQ(b.r.pointGradient, 25000);
    b.r.trainPosition = 250;
    gradientSign(b.r, b.r, b.r, b.p);
    EXPECT_EQ(b.drawn("SlopeImage"), std::nullopt);
    EXPECT_EQ(b.p.labels["SlopeText"], "");
    EXPECT_EQ(b.r.pointGradient, 0);
    b.r.trainPosition = 350;
    gradientSign(b.r, b.r, b.r, b.p);
    EXPECT_EQ(b.drawn("SlopeImage"), 2);
    EXPECT_EQ(b.p.labels["SlopeText"], "-10.0");
    b.r.trainPosition = 400;  // the last row's end frame: still nothing changes
    gradientSign(b.r, b.r, b.r, b.p);
    EXPECT_EQ(b.r.pointGradient, -100000);
    // Beyond the last row the track is level for the rest of the line.
    for (int pos : {401, 2000, 4400}) {
        b.r.trainPosition = pos;
        gradientSign(b.r, b.r, b.r, b.p);
        EXPECT_EQ(b.drawn("SlopeImage"), std::nullopt) << pos;
        EXPECT_EQ(b.p.labels["SlopeText"], "") << pos;
        EXPECT_EQ(b.r.pointGradient, 0) << pos;
    }
}

TEST(Signs, ALevelRowKeepsThePictureAndShowsItsText) {
    Bench b;
    b.r.slopeTable = {{100, 200, 25000}, {200, 300, 0}};
    b.r.trainPosition = 150;
    gradientSign(b.r, b.r, b.r, b.p);
    b.r.trainPosition = 250;
    gradientSign(b.r, b.r, b.r, b.p);
    EXPECT_EQ(b.drawn("SlopeImage"), 1) << "a 0 per mille row draws no picture of its own";
    EXPECT_EQ(b.p.labels["SlopeText"], "0.0");
    EXPECT_EQ(b.r.pointGradient, 0);
}

TEST(Signs, SpeedChecksRingTheBellWithinNineFrames) {
    ts::Run r;
    r.speedCheckTable = {{60, 1000}};
    r.speed = 600000;
    r.trainPosition = 1005;
    speedChecks(r, r, r);
    EXPECT_EQ(r.atsBellRinging, 0) << "at exactly the limit nothing happens";
    r.speed = 600001;
    r.trainPosition = 1010;
    speedChecks(r, r, r);
    EXPECT_EQ(r.atsBellRinging, 0);
    r.trainPosition = 1009;
    speedChecks(r, r, r);
    EXPECT_EQ(r.atsBellRinging, 1);
}

TEST(Clock, Texts) {
    EXPECT_EQ(clockText(0), "00:00:00");
    EXPECT_EQ(clockText(30 * 3661), "01:01:01");
    EXPECT_EQ(clockText(30 * 90000), "25:00:00");
    EXPECT_EQ(clockText(59), "00:00:01");
    ts::Run r;
    r.clockTicks = 30 * 3 * 3600;
    r.clockX = 300;
    r.clockY = 400;
    r.clockHandLength = 20;
    PanelModel p;
    timecalc(r, r, p);
    EXPECT_EQ(p.labels["Label3"], "03:00:00");
    EXPECT_EQ(p.clock.hour, std::make_pair(37, 25)) << "the hour hand points right, 0.6 x 20 long";
    EXPECT_EQ(p.clock.minute, std::make_pair(25, 5));
    r.clockX = 0;
    PanelModel q;
    timecalc(r, r, q);
    EXPECT_FALSE(q.clock.drawn);
}

TEST(Signals, EveryPictureOfEveryAspectSetHasTheClassOfItsState) {
    // State 0 is stop and state 4 is clear in every set; a repeater's state 2 is
    // picture 1, which only the call-out knows.
    for (int set = 0; set < 6; ++set) {
        EXPECT_EQ(aspectClass(signalImageIndex(set, 0)), AspectClass::Stop) << set;
        EXPECT_EQ(aspectClass(signalImageIndex(set, 4)), AspectClass::Clear) << set;
    }
    EXPECT_EQ(aspectClass(signalImageIndex(0, 2)), AspectClass::RepeaterCaution);
    EXPECT_EQ(aspectClass(signalImageIndex(4, 1)), AspectClass::YY);
    EXPECT_EQ(aspectClass(signalImageIndex(3, 3)), AspectClass::YG);
    EXPECT_EQ(aspectClass(kNone), AspectClass::Other);
    int classified = 0;
    for (int image = 0; image < 22; ++image) classified += aspectClass(image) != AspectClass::Other;
    EXPECT_EQ(classified, 22) << "every picture of the list has a class";
}
