// A sound device that has no output: every operation does nothing, as with
// an inactive device.
#pragma once
#include "devices/sound_device.h"

namespace ts {

class NullChannel final : public TDDSDChannel {
public:
    void setWaveData(const WavePtr&) override {}
    void Play() override {}
    void PlayLoop() override {}
    void Stop() override {}
    int Status() override { return 0; }
    void SetFrequencyFactor(double) override {}
    void SetVolume(int32_t) override {}
};

class NullSound final : public TDDSD {
public:
    bool startUp() override { return false; }
    bool active() const override { return false; }
    int ChannelCount() const override { return 128; }
    TDDSDChannel& Channel(int) override { return channel_; }
    WavePtr loadWave(const std::string&) override { return nullptr; }
    void SetPrimaryFormat(int, int, bool) override {}
    bool reinitialise() override { return true; }

private:
    NullChannel channel_;
};

}  // namespace ts
