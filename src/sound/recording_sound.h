// The device-free sound bank: it records every channel operation and reports
// Status from a virtual clock and each wave's length, so that tests and the
// drive mode hear nothing and depend on no timing.
#pragma once
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "devices/sound_device.h"
#include "devices/sound_errors.h"
#include "devices/sound_op.h"

namespace ts {

class RecordingSound final : public TDDSD {
public:
    // `nowMs` gives the virtual time in milliseconds.
    RecordingSound(int channelCount, std::function<int64_t()> nowMs);
    ~RecordingSound() override;

    bool startUp() override;
    bool active() const override { return active_; }
    int ChannelCount() const override { return int(channels_.size()); }
    TDDSDChannel& Channel(int index) override;
    WavePtr loadWave(const std::string& path) override;
    void SetPrimaryFormat(int frequency, int bits, bool stereo) override;
    bool reinitialise() override;

    // The operations since the last call, in order.
    std::vector<SoundOp> takeOps();
    int primaryFrequency() const { return primaryFrequency_; }
    SoundErrors errors;

    class RecordingChannel;

private:
    friend class RecordingChannel;
    void record(int channel, const char* op, std::optional<double> value = std::nullopt);

    std::function<int64_t()> now_;
    std::vector<std::unique_ptr<RecordingChannel>> channels_;
    std::unique_ptr<RecordingChannel> outside_;
    std::mutex m_;
    std::vector<SoundOp> ops_;
    bool active_ = false;
    int primaryFrequency_ = 0;
};

}  // namespace ts
