// Sound scheduling of the 100 ms step against the recording sound bank.
#include <gtest/gtest.h>

#include <cmath>

#include "dynamics/air_brake.h"
#include "events/sound_schedule.h"
#include "sound/recording_sound.h"
#include "test_support.h"
#include "wave_writer.h"

using namespace ts;

namespace {

struct Bank {
    int64_t now = 0;
    RecordingSound sound{128, [this] { return now; }};
    test::TempDir dir;
    ts::Run r;
    Bank() { sound.startUp(); }
    void wave(int channel, double seconds = 1.0) {
        sound.Channel(channel).setWaveData(
            sound.loadWave(dir.write("w" + std::to_string(channel) + ".wav", test::sineWave(200, seconds))));
    }
    // "channel:op[:value]" for each recorded operation.
    std::vector<std::string> ops() {
        std::vector<std::string> out;
        for (const auto& o : sound.takeOps()) {
            std::string s = std::to_string(o.channel) + ":" + o.op;
            if (o.value) s += ":" + std::to_string(int(std::lround(*o.value)));
            out.push_back(s);
        }
        return out;
    }
};

}  // namespace

TEST(SoundSchedule, Db100) {
    EXPECT_EQ(dB100(1.0L), 0);
    EXPECT_EQ(dB100(0.5L), -602);
    EXPECT_EQ(dB100(0.01L), -4000);
    EXPECT_EQ(dB100(0), -10000);
    EXPECT_EQ(dB100(-1), -10000);
}

TEST(SoundSchedule, DriveSoundCrossFade) {
    Bank b;
    for (int ch = 0; ch < 12; ++ch) b.wave(ch);
    b.r.speed = 470000;  // 47 km/h: band 4, 7 km/h into it
    driveSounds(b.r, b.r, b.sound);
    EXPECT_EQ(b.ops(),
              (std::vector<std::string>{"4:stop", "4:loop", "5:stop", "5:loop", "4:volume:-1046", "5:volume:-310"}))
        << "dB100(0.3) and dB100(0.7)";
    b.r.speed = 400000;  // 40 km/h
    driveSounds(b.r, b.r, b.sound);
    EXPECT_EQ(b.ops(), (std::vector<std::string>{"4:volume:0", "5:volume:-4000"}));
    b.r.speed = 0;
    driveSounds(b.r, b.r, b.sound);
    EXPECT_EQ(b.ops(),
              (std::vector<std::string>{"0:stop", "0:loop", "1:stop", "1:loop", "0:volume:0", "1:volume:-4000"}))
        << "at 0 km/h channels 0 and 1 play, channel 1 at -4000";
    b.r.speed = 1200000;
    driveSounds(b.r, b.r, b.sound);
    EXPECT_TRUE(b.ops().empty()) << "at 120 km/h the drive sounds keep their state";
}

TEST(SoundSchedule, BrakeSquealBelowLoseElecAndFadingOut) {
    Bank b;
    b.r.soundSqueak = 7;
    b.wave(7);
    b.r.loseElec = 20;
    b.r.effectiveBrakeNotch = -3;
    b.r.bcPressure = 2500000;  // 250 kPa
    b.r.speed = 300000;
    brakeSqueal(b.r, b.r, b.r, b.r, b.r, b.sound);
    EXPECT_TRUE(b.ops().empty()) << "no squeal at 30 km/h with loseElec 20";
    b.r.speed = 150000;
    brakeSqueal(b.r, b.r, b.r, b.r, b.r, b.sound);
    EXPECT_EQ(b.ops(), (std::vector<std::string>{"7:stop", "7:loop", "7:volume:-1000"})) << "-250000 / 250 kPa";
    b.r.effectiveBrakeNotch = 0;
    brakeSqueal(b.r, b.r, b.r, b.r, b.r, b.sound);
    EXPECT_EQ(b.ops(), (std::vector<std::string>{"7:volume:-1100"}));
    for (int i = 0; i < 39; ++i) brakeSqueal(b.r, b.r, b.r, b.r, b.r, b.sound);
    b.ops();
    EXPECT_EQ(b.r.squealVolume, -5000);
    brakeSqueal(b.r, b.r, b.r, b.r, b.r, b.sound);
    EXPECT_EQ(b.ops(), (std::vector<std::string>{"7:volume:-5100", "7:stop"}));
}

TEST(SoundSchedule, OnceOnlySoundRowAndLoopingRow) {
    Bank b;
    b.r.driveSoundFiles = {"a", "b"};
    b.r.routeSoundTable = {{0, 100, 200, 1, 0}, {1, 300, 400, 60, 1}};
    b.r.trainPosition = 96;  // 4 frames before
    b.r.speed = 300000;
    routeSounds(b.r, b.r, b.r, b.r, b.sound);
    EXPECT_EQ(b.ops(), (std::vector<std::string>{"2:pitch:1", "2:stop", "2:play"}));
    b.r.trainPosition = 104;
    routeSounds(b.r, b.r, b.r, b.r, b.sound);
    EXPECT_EQ(b.ops(), (std::vector<std::string>{"2:pitch:1"})) << "never played again in the run";
    b.r.trainPosition = 300;
    routeSounds(b.r, b.r, b.r, b.r, b.sound);
    EXPECT_EQ(b.ops(), (std::vector<std::string>{"3:pitch:1", "3:volume:-602", "3:stop", "3:loop"}))
        << "30 km/h over a pitch speed of 60: factor 0.5";
    b.r.trainPosition = 350;
    routeSounds(b.r, b.r, b.r, b.r, b.sound);
    EXPECT_EQ(b.ops(), (std::vector<std::string>{"3:pitch:1", "3:volume:-602"}));
    b.r.trainPosition = 398;
    routeSounds(b.r, b.r, b.r, b.r, b.sound);
    EXPECT_EQ(b.ops(), (std::vector<std::string>{"3:stop", "3:pitch:1", "3:volume:-602"}));
}

TEST(SoundSchedule, CompressorHysteresis) {
    Bank b;
    b.r.lowAirPressure = 780;
    b.r.highAirPressure = 880;
    b.r.soundCpStart = 40;
    b.r.soundCpCnt = 41;
    b.r.soundCpEnd = 42;
    b.r.mrPressure = 7799999;
    compressor(b.r, b.r, b.sound);
    EXPECT_EQ(b.r.compressorRunning, 1);
    EXPECT_EQ(b.ops(), (std::vector<std::string>{"40:stop", "40:play", "41:stop", "41:loop"}));
    EXPECT_EQ(b.r.mrPressure, 7802999);
    int steps = 1;
    while (b.r.compressorRunning && steps < 2000) {
        compressor(b.r, b.r, b.sound);
        ++steps;
    }
    // From 780.3 kPa at 0.3 kPa a step: 880 is reached after 333 more steps, and the next step stops it.
    EXPECT_EQ(steps, 335);
    EXPECT_EQ(b.r.mrPressure, 8801999);
    b.ops();
    b.r.mrPressure = 7900000;
    compressor(b.r, b.r, b.sound);
    EXPECT_EQ(b.r.compressorRunning, 0) << "no restart above the low pressure";
    EXPECT_TRUE(b.ops().empty());
}

TEST(SoundSchedule, DopplerPitchAndVolume) {
    Bank b;
    b.r.dopplerTable = {{0, 100, 200, 300}};
    b.r.speed = 1220000 / 2;  // 61 km/h
    b.r.trainPosition = 105;
    routeSounds(b.r, b.r, b.r, b.r, b.sound);
    auto ops = b.ops();
    ASSERT_EQ(ops.size(), 4u);
    EXPECT_EQ(ops[1], "0:volume:-950");
    EXPECT_EQ(ops[2], "0:stop");
    EXPECT_EQ(ops[3], "0:loop");
    b.r.trainPosition = 250;
    routeSounds(b.r, b.r, b.r, b.r, b.sound);
    EXPECT_EQ(b.ops()[1], "0:volume:-500");
}

TEST(SoundSchedule, MotorSoundsFollowSpeedAndNotches) {
    Bank b;
    b.r.motorSoundTable = {{"m", 0, 0, 100, 0.5, 1.5, 10, 100}};
    b.r.motorSpeedLevel = {1};
    b.r.motorFadeLevel = {1};
    b.r.motorMasterLevel = 1;
    b.r.speed = 500000;
    b.r.effectivePowerNotch = 2;
    motorSounds(b.r, b.r, b.r, b.r, b.sound);
    // Level 55 % at 50 km/h, fade 100, master 21: 55 x 100 x 21 / 10^6.
    EXPECT_EQ(b.ops(), (std::vector<std::string>{"100:pitch:1", "100:volume:-1875", "100:stop", "100:loop"}));
    EXPECT_DOUBLE_EQ(double(b.r.motorMasterLevel), 21.0);
}
