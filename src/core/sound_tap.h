// The run's sound device seen through a tap: everything goes to the real
// device, and the channels' status answers, which depend on how long sounds
// played in real time, are handed to a recorder or, in a replay, answered
// from the recording.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "devices/sound_device.h"

namespace ts {

class SoundTap final : public TDDSD {
public:
    explicit SoundTap(TDDSD& device);
    ~SoundTap() override;

    // Each status answer, with its channel.
    std::function<void(int channel, int status)> observer;
    // Answers from a recording: per channel, the query (counted from 1) each value starts at.
    void replay(std::map<int, std::vector<std::pair<int64_t, int>>> answers);

    bool startUp() override { return device_.startUp(); }
    bool active() const override { return device_.active(); }
    int ChannelCount() const override { return device_.ChannelCount(); }
    TDDSDChannel& Channel(int index) override;
    WavePtr loadWave(const std::string& path) override { return device_.loadWave(path); }
    void SetPrimaryFormat(int frequency, int bits, bool stereo) override {
        device_.SetPrimaryFormat(frequency, bits, stereo);
    }
    bool reinitialise() override { return device_.reinitialise(); }

    int status(int channel);

private:
    class Tapped;
    TDDSD& device_;
    std::map<int, std::unique_ptr<Tapped>> channels_;
    bool replaying_ = false;
    struct Answers {
        std::vector<std::pair<int64_t, int>> changes;
        size_t next = 0;
        int64_t calls = 0;
        int value = 0;
    };
    std::map<int, Answers> answers_;
};

}  // namespace ts
