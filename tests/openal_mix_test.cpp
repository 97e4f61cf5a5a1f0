// The OpenAL Soft sound bank, heard through OpenAL's wave output: the mix is
// written to a file in real time and measured afterwards. The tests follow the
// mix by the file's length, not by the clock: on a busy machine the mixer
// falls behind, and what was played when is read off where the file stood.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "sound/openal_sound.h"
#include "test_support.h"
#include "wave_writer.h"

using namespace ts;
using namespace ts::test;
using namespace std::chrono_literals;

namespace {

std::filesystem::path g_dir;
std::filesystem::path mixPath() { return g_dir / "mix.wav"; }

// One device session: opens the bank, runs `body`, closes it and reads the mix.
template <class F>
Samples session(F body) {
    {
        OpenAlSound bank(128);
        bank.errors.debugOption = 0;
        EXPECT_TRUE(bank.startUp());
        body(bank);
    }
    return readMono16(mixPath().string());
}

// Seconds of mix written so far (mono, 16 bits, 22050 a second, after the header).
double mixed() {
    std::error_code ec;
    const auto size = std::filesystem::file_size(mixPath(), ec);
    return ec || size < 44 ? 0.0 : double(size - 44) / (22050 * 2);
}

// Waits until the mix reaches `seconds`, polling, for at most a generous 20 s.
void mixUntil(double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (mixed() < seconds && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(10ms);
    ASSERT_GE(mixed(), seconds) << "the mixer stalled";
}

std::string tone(const char* name, double hz, double seconds) {
    const auto p = g_dir / name;
    std::ofstream(p, std::ios::binary) << sineWave(hz, seconds, 22050, 0.8);
    return p.string();
}

}  // namespace

TEST(OpenAlMix, VolumeMinus600IsHalfAmplitude) {
    const auto w = tone("a.wav", 441, 2.0);
    double fullAt = 0, halfAt = 0;
    const Samples full = session([&](OpenAlSound& bank) {
        bank.Channel(0).setWaveData(bank.loadWave(w));
        fullAt = mixed();
        bank.Channel(0).Play();
        mixUntil(fullAt + 0.6);
    });
    const Samples half = session([&](OpenAlSound& bank) {
        bank.Channel(0).setWaveData(bank.loadWave(w));
        bank.Channel(0).SetVolume(-600);
        halfAt = mixed();
        bank.Channel(0).Play();
        mixUntil(halfAt + 0.6);
    });
    const double a = peak(full, fullAt + 0.2, fullAt + 0.5), b = peak(half, halfAt + 0.2, halfAt + 0.5);
    EXPECT_NEAR(a, 0.8, 0.03);
    EXPECT_NEAR(b / a, std::pow(10.0, -0.3), 0.02);
}

TEST(OpenAlMix, FrequencyFactorTwoDoublesThePitch) {
    const auto w = tone("b.wav", 300, 2.0);
    double at = 0;
    const Samples s = session([&](OpenAlSound& bank) {
        bank.Channel(5).setWaveData(bank.loadWave(w));
        bank.Channel(5).SetFrequencyFactor(2.0);
        at = mixed();
        bank.Channel(5).Play();
        mixUntil(at + 0.6);
    });
    EXPECT_NEAR(frequency(s, at + 0.2, at + 0.5), 600, 12);
}

TEST(OpenAlMix, LoopGoesOnUntilStop) {
    const auto w = tone("c.wav", 441, 0.1);
    int during = -1, after = -1;
    double at = 0, stopAt = 0;
    const Samples s = session([&](OpenAlSound& bank) {
        bank.Channel(9).setWaveData(bank.loadWave(w));
        at = mixed();
        bank.Channel(9).PlayLoop();
        mixUntil(at + 0.6);
        during = bank.Channel(9).Status();
        stopAt = mixed();
        bank.Channel(9).Stop();
        after = bank.Channel(9).Status();
        mixUntil(stopAt + 0.6);
    });
    EXPECT_EQ(during, 5);
    EXPECT_EQ(after, 0);
    EXPECT_GT(peak(s, at + 0.3, at + 0.5), 0.7) << "still sounding long after the 0.1 s wave";
    // The mixer may have run a little ahead of the file when Stop came.
    EXPECT_LT(peak(s, stopAt + 0.35, stopAt + 0.55), 0.01) << "silent after Stop";
}

TEST(OpenAlMix, TwoChannelsOnOneWavePlayAndRetuneIndependently) {
    const auto w = tone("d.wav", 300, 3.0);
    int aAfterStop = -1, bAfterStop = -1;
    double at = 0, switchAt = 0;
    const Samples s = session([&](OpenAlSound& bank) {
        auto wave = bank.loadWave(w);
        bank.Channel(1).setWaveData(wave);
        bank.Channel(2).setWaveData(wave);
        bank.Channel(2).SetFrequencyFactor(2.0);
        at = mixed();
        bank.Channel(1).Play();
        mixUntil(at + 0.5);
        switchAt = mixed();
        bank.Channel(1).Stop();
        bank.Channel(2).Play();
        mixUntil(switchAt + 0.7);
        aAfterStop = bank.Channel(1).Status();
        bAfterStop = bank.Channel(2).Status();
    });
    EXPECT_EQ(aAfterStop, 0);
    EXPECT_EQ(bAfterStop, 1);
    EXPECT_NEAR(frequency(s, at + 0.2, at + 0.45), 300, 8);
    EXPECT_NEAR(frequency(s, switchAt + 0.35, switchAt + 0.6), 600, 12);
}

TEST(OpenAlMix, EdgeCasesOfChannels) {
    const auto w = tone("e.wav", 441, 0.5);
    session([&](OpenAlSound& bank) {
        EXPECT_EQ(bank.Channel(4).Status(), 0) << "unbound";
        bank.Channel(4).Play();
        EXPECT_EQ(bank.Channel(4).Status(), 0);
        auto wave = bank.loadWave(w);
        bank.Channel(4).setWaveData(wave);
        bank.Channel(4).SetFrequencyFactor(0.0);  // a standing train: no OpenAL error
        bank.Channel(4).SetFrequencyFactor(-3.0);
        bank.Channel(4).SetFrequencyFactor(1e9);
        bank.Channel(4).SetVolume(500);
        bank.Channel(4).SetVolume(-20000);
        bank.Channel(4).PlayLoop();
        bank.Channel(4).setWaveData(wave);  // the same wave again: keeps playing
        EXPECT_EQ(bank.Channel(4).Status(), 5);
        bank.Channel(128).Play();
        EXPECT_EQ(bank.errors.reported(), 1);
        auto empty = bank.loadWave((g_dir / "missing.wav").string());
        EXPECT_TRUE(empty->empty());
        bank.Channel(6).setWaveData(empty);
        bank.Channel(6).Play();
        EXPECT_EQ(bank.Channel(6).Status(), 0);
        EXPECT_TRUE(bank.reinitialise());
        EXPECT_EQ(bank.Channel(4).Status(), 0) << "re-initialising releases every channel";
    });
}

int main(int argc, char** argv) {
    g_dir = std::filesystem::temp_directory_path() / ("trainsim-openal-" + std::to_string(::getpid()));
    std::filesystem::create_directories(g_dir);
    const auto conf = g_dir / "alsoft.conf";
    std::ofstream(conf) << "[general]\ndrivers=wave\nchannels=mono\nsample-type=int16\nfrequency=22050\n"
                        << "[wave]\nfile=" << mixPath().string() << "\n";
    setenv("ALSOFT_CONF", conf.c_str(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    std::filesystem::remove_all(g_dir);
    return rc;
}
