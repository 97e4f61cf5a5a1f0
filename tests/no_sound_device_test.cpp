// A machine without any sound device: the OpenAL bank opens nothing, every
// channel and wave operation does nothing, and closing a run goes on silently.
// Its own program, as OpenAL chooses its backends once per process.
#include <gtest/gtest.h>

#include <cstdlib>

#include "sound/openal_sound.h"
#include "test_support.h"
#include "wave_writer.h"

using namespace ts;

TEST(NoSoundDevice, EveryOperationIsSilentAndReopeningIsNoFailure) {
    OpenAlSound bank(128);
    bank.errors.debugOption = 0;
    EXPECT_FALSE(bank.startUp());
    EXPECT_FALSE(bank.active());
    test::TempDir dir;
    const std::string wave = dir.write("horn.wav", test::sineWave(440, 0.1));
    auto data = bank.loadWave(wave);
    for (int ch : {0, 127, 128, -1}) {
        TDDSDChannel& c = bank.Channel(ch);
        c.setWaveData(data);
        c.PlayLoop();
        c.SetVolume(-10000);
        c.SetFrequencyFactor(1e30);
        c.Stop();
        EXPECT_EQ(c.Status(), 0);
    }
    EXPECT_TRUE(bank.reinitialise()) << "a machine that never had a device closes its run without the message";
}

int main(int argc, char** argv) {
    // No backend of that name exists: OpenAL finds no device at all.
    setenv("ALSOFT_DRIVERS", "no-such-backend", 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
