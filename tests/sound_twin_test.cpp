// The device-free sound bank: recorded operations and Status on a virtual clock.
#include <gtest/gtest.h>

#include "sound/recording_sound.h"
#include "test_support.h"
#include "wave_writer.h"

using namespace ts;
using namespace ts::test;

TEST(SoundTwin, StatusFollowsTheWaveLengthAndFrequency) {
    TempDir d;
    int64_t now = 0;
    RecordingSound bank(128, [&] { return now; });
    ASSERT_TRUE(bank.startUp());
    auto wave = bank.loadWave(d.write("a.wav", sineWave(440, 1.0)));
    ASSERT_FALSE(wave->empty());
    bank.Channel(3).setWaveData(wave);
    bank.Channel(3).Play();
    now = 999;
    EXPECT_EQ(bank.Channel(3).Status(), 1);
    now = 1000;
    EXPECT_EQ(bank.Channel(3).Status(), 0);
    // At twice the frequency it ends after half a second.
    bank.Channel(3).SetFrequencyFactor(2.0);
    bank.Channel(3).Play();
    now = 1499;
    EXPECT_EQ(bank.Channel(3).Status(), 1);
    now = 1500;
    EXPECT_EQ(bank.Channel(3).Status(), 0);
    bank.Channel(3).PlayLoop();
    now = 100000;
    EXPECT_EQ(bank.Channel(3).Status(), 5);
    bank.Channel(3).Stop();
    EXPECT_EQ(bank.Channel(3).Status(), 0);
    const auto ops = bank.takeOps();
    ASSERT_EQ(ops.size(), 5u);
    EXPECT_EQ(ops[0].op, "play");
    EXPECT_EQ(ops[1].op, "pitch");
    EXPECT_EQ(ops[1].value, 2.0);
    EXPECT_EQ(ops[3].op, "loop");
    EXPECT_EQ(ops[4].op, "stop");
    EXPECT_TRUE(bank.takeOps().empty());
}

TEST(SoundTwin, UnboundAndOutOfRangeChannelsDoNothing) {
    int64_t now = 0;
    RecordingSound bank(128, [&] { return now; });
    bank.startUp();
    bank.Channel(7).Play();
    EXPECT_EQ(bank.Channel(7).Status(), 0);
    bank.Channel(128).Play();
    EXPECT_EQ(bank.Channel(128).Status(), 0);
    EXPECT_EQ(bank.errors.reported(), 2);
    bank.errors.debugOption = dsoExceptOnError;
    try {
        bank.Channel(128);
        ADD_FAILURE();
    } catch (const SoundError& e) {
        EXPECT_STREQ(e.what(), "チャンネル番号128は無効です、0～127の範囲で指定してください");
    }
}

TEST(SoundTwin, DebugLogIsRewrittenAtTheFirstMessage) {
    TempDir d;
    int64_t now = 0;
    RecordingSound bank(8, [&] { return now; });
    bank.startUp();
    bank.errors.debugOption = dsoDebugMessage;
    bank.errors.logPath = d.write("ddsd.debug", "old contents\n");
    bank.Channel(8);
    bank.loadWave((d.path() / "gone.wav").string());
    std::ifstream in(bank.errors.logPath);
    std::string l1, l2, l3;
    std::getline(in, l1);
    std::getline(in, l2);
    EXPECT_EQ(l1, "debug#00001 ... チャンネル番号8は無効です、0～7の範囲で指定してください\r");
    EXPECT_EQ(l2, "debug#00002 ... " + (d.path() / "gone.wav").string() + "が、見つかりません\r");
    EXPECT_FALSE(std::getline(in, l3));
}
