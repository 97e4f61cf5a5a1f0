// The run's sound bank: which wave lands on which channel, and the limits.
#include <gtest/gtest.h>

#include "run_fixture.h"
#include "wave_writer.h"

using namespace ts;
using namespace ts::test;

namespace {

struct Bank : RunFixture {
    // Loads a run whose wave i lasts (i + 1) x 10 ms, so a channel tells by its length which wave it holds.
    void loadBank(int drive, int data, int kanko2, int other, int motor) {
        int n = 0;
        auto wave = [&](const std::string& prefix) {
            const std::string name = prefix + std::to_string(n) + ".wav";
            dir.write(name, sineWave(100, (n + 1) * 0.01));
            ++n;
            return name;
        };
        std::string line = "[SoundData]\n";
        for (int i = 0; i < data; ++i) line += wave("s") + "\n";
        line += "#\n[KankoSound1]\n";
        for (int i = 0; i < 28; ++i) line += wave("k") + "\n";
        if (kanko2 >= 0) {
            line += "[KankoSound2]\n";
            for (int i = 0; i < kanko2; ++i) line += "call\n" + wave("c") + "\n";
            line += "#\n";
        }
        line += "[OtherImageList]\n";
        dir.write("o.bmp", "100x50");
        for (int i = 0; i < other; ++i) line += "o.bmp\n" + wave("o") + "\n";
        line += "#\n";
        std::string train = "[DriveSound]\n";
        n = 200;
        for (int i = 0; i < drive; ++i) train += wave("d") + "\n";
        train += "#\n[MotorSound]\n";
        n = 300;
        for (int i = 0; i < motor; ++i) train += wave("m") + "\n2\n0\n10\n1\n1\n1\n1\n";
        train += "#\n";
        load(line, train);
    }

    // Length in ms of the wave on a channel (0 when none), measured on the virtual clock.
    int lengthOn(int channel) {
        sound.Channel(channel).Play();
        int ms = 0;
        while (sound.Channel(channel).Status() == 1 && ms < 5000) {
            clock.setNow(clock.now() + 10);
            ms += 10;
        }
        return ms;
    }
};

}  // namespace

TEST(SoundBankLayout, ChannelsFollowTheLoadingOrder) {
    Bank b;
    b.loadBank(5, 10, -1, 2, 3);
    ASSERT_FALSE(b.fatal) << b.boxes.all()[0];
    EXPECT_EQ(b.lengthOn(0), 2010) << "drive sound 0";
    EXPECT_EQ(b.lengthOn(4), 2050);
    EXPECT_EQ(b.lengthOn(5), 10) << "[SoundData] entry 0 on channel 5";
    EXPECT_EQ(b.lengthOn(14), 100);
    EXPECT_EQ(b.lengthOn(15), 390)
        << "without [KankoSound2] the call-outs are bound to no channel: the sign sounds follow";
    EXPECT_EQ(b.lengthOn(17), 0);
    EXPECT_EQ(b.lengthOn(100), 3010) << "motor sounds from channel 100";
    EXPECT_EQ(b.lengthOn(102), 3030);
    EXPECT_EQ(b.lengthOn(103), 0);
}

TEST(SoundBankLayout, CallOutsAreBoundWithKankoSound2) {
    Bank b;
    b.loadBank(5, 10, 2, 1, 0);
    ASSERT_FALSE(b.fatal);
    EXPECT_EQ(b.lengthOn(15), 110) << "[KankoSound1] entry 0 on channel 15";
    EXPECT_EQ(b.lengthOn(42), 380);
    EXPECT_EQ(b.lengthOn(43), 390) << "first [KankoSound2] wave";
    EXPECT_EQ(b.lengthOn(44), 400);
    EXPECT_EQ(b.lengthOn(45), 410) << "then the sign sound";
}

TEST(SoundBankLayout, ABankThatWouldReachTheMotorChannelsIsRefused) {
    Bank b;
    b.loadBank(40, 40, 0, 0, 0);
    EXPECT_TRUE(b.fatal);
    EXPECT_EQ(b.boxes.all(), std::vector<std::string>{"路線ファイルに誤りがあります。[KankoSound2]"});
}
