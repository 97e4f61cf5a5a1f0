#include "sound_tap.h"

namespace ts {

class SoundTap::Tapped final : public TDDSDChannel {
public:
    Tapped(SoundTap& tap, int index) : tap_(tap), index_(index) {}
    void setWaveData(const WavePtr& wave) override { inner().setWaveData(wave); }
    void Play() override { inner().Play(); }
    void PlayLoop() override { inner().PlayLoop(); }
    void Stop() override { inner().Stop(); }
    int Status() override { return tap_.status(index_); }
    void SetFrequencyFactor(double factor) override { inner().SetFrequencyFactor(factor); }
    void SetVolume(int32_t v) override { inner().SetVolume(v); }

private:
    // Asked each time: the device makes its channels anew when it is opened again.
    TDDSDChannel& inner() { return tap_.device_.Channel(index_); }
    SoundTap& tap_;
    int index_;
};

SoundTap::SoundTap(TDDSD& device) : device_(device) {}
SoundTap::~SoundTap() = default;

TDDSDChannel& SoundTap::Channel(int index) {
    auto& c = channels_[index];
    if (!c) c = std::make_unique<Tapped>(*this, index);
    return *c;
}

void SoundTap::replay(std::map<int, std::vector<std::pair<int64_t, int>>> answers) {
    replaying_ = true;
    answers_.clear();
    for (auto& [channel, changes] : answers) answers_[channel].changes = std::move(changes);
}

int SoundTap::status(int channel) {
    int value;
    auto it = replaying_ ? answers_.find(channel) : answers_.end();
    if (it != answers_.end()) {
        Answers& a = it->second;
        ++a.calls;
        while (a.next < a.changes.size() && a.changes[a.next].first <= a.calls) a.value = a.changes[a.next++].second;
        value = a.value;
    } else {
        // A channel the recording never asked about answers as the device does.
        value = device_.Channel(channel).Status();
    }
    if (observer) observer(channel, value);
    return value;
}

}  // namespace ts
