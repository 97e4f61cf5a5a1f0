// The sound bank on OpenAL Soft: one source per channel, one buffer per wave
// shared by every channel bound to it.
#pragma once
#include <memory>
#include <vector>

#include "devices/sound_device.h"
#include "devices/sound_errors.h"

namespace ts {

class OpenAlSound final : public TDDSD {
public:
    explicit OpenAlSound(int channelCount = 8);
    ~OpenAlSound() override;

    bool startUp() override;
    bool active() const override { return context_ != nullptr; }
    int ChannelCount() const override { return channelCount_; }
    TDDSDChannel& Channel(int index) override;
    WavePtr loadWave(const std::string& path) override;
    void SetPrimaryFormat(int frequency, int bits, bool stereo) override;
    bool reinitialise() override;

    SoundErrors errors;
    class AlChannel;

private:
    bool open();
    void close();

    int channelCount_;
    void* device_ = nullptr;   // ALCdevice
    void* context_ = nullptr;  // ALCcontext
    bool everActive_ = false;
    std::vector<std::unique_ptr<AlChannel>> channels_;
    std::unique_ptr<AlChannel> outside_;
};

}  // namespace ts
