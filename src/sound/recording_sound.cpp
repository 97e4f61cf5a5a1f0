#include "sound/recording_sound.h"

#include <cmath>
#include <utility>

#include "sound/wav_file.h"

namespace ts {

namespace {

class RecordedWave final : public TDDSDWaveData {
public:
    explicit RecordedWave(std::optional<WaveSound> w) {
        if (w) {
            seconds = w->seconds();
            rate = w->format.sampleRate;
            loaded = true;
        }
    }
    bool empty() const override { return !loaded; }
    bool loaded = false;
    double seconds = 0;
    uint32_t rate = 0;
};

}  // namespace

class RecordingSound::RecordingChannel final : public TDDSDChannel {
public:
    RecordingChannel(RecordingSound& owner, int index) : owner_(owner), index_(index) {}

    void setWaveData(const WavePtr& wave) override {
        std::lock_guard lock(owner_.m_);
        if (wave == wave_) return;
        playing_ = looping_ = false;
        wave_ = wave;
        auto* w = dynamic_cast<RecordedWave*>(wave.get());
        buffer_ = w && w->loaded ? w : nullptr;
        factor_ = 1.0;
        position_ = 0;
    }
    void Play() override { start(false); }
    void PlayLoop() override { start(true); }
    void Stop() override {
        owner_.record(index_, "stop");
        std::lock_guard lock(owner_.m_);
        if (!buffer_) return;
        advance();
        playing_ = looping_ = false;
    }
    int Status() override {
        std::lock_guard lock(owner_.m_);
        if (!buffer_ || !playing_) return 0;
        if (looping_) return 5;
        advance();
        return playing_ ? 1 : 0;
    }
    void SetFrequencyFactor(double x) override {
        owner_.record(index_, "pitch", x);
        std::lock_guard lock(owner_.m_);
        if (!buffer_) return;
        advance();
        // The frequency is a whole number of hertz, as on the device.
        const double freq = std::max(0.0, std::nearbyint(buffer_->rate * x));
        factor_ = buffer_->rate ? freq / buffer_->rate : 0;
    }
    void SetVolume(int32_t v) override { owner_.record(index_, "volume", double(v)); }

private:
    void start(bool loop) {
        owner_.record(index_, loop ? "loop" : "play");
        std::lock_guard lock(owner_.m_);
        if (!buffer_) return;
        playing_ = true;
        looping_ = loop;
        position_ = 0;
        since_ = owner_.now_();
    }
    // Moves the play position on to the current virtual time.
    void advance() {
        const int64_t now = owner_.now_();
        if (playing_ && !looping_) {
            position_ += double(now - since_) / 1000.0 * factor_;
            if (position_ >= buffer_->seconds - 1e-9) playing_ = false;
        }
        since_ = now;
    }

    RecordingSound& owner_;
    int index_;
    WavePtr wave_;
    RecordedWave* buffer_ = nullptr;
    bool playing_ = false, looping_ = false;
    double factor_ = 1.0;
    double position_ = 0;  // seconds into the wave
    int64_t since_ = 0;
};

RecordingSound::RecordingSound(int channelCount, std::function<int64_t()> nowMs) : now_(std::move(nowMs)) {
    for (int i = 0; i < channelCount; ++i) channels_.push_back(std::make_unique<RecordingChannel>(*this, i));
    outside_ = std::make_unique<RecordingChannel>(*this, -1);
    errors.debugOption = 0;
}

RecordingSound::~RecordingSound() = default;

bool RecordingSound::startUp() {
    active_ = true;
    return true;
}

TDDSDChannel& RecordingSound::Channel(int index) {
    if (index < 0 || index >= int(channels_.size())) {
        errors.report(channelRangeMessage(index, int(channels_.size())));
        return *outside_;
    }
    return *channels_[size_t(index)];
}

WavePtr RecordingSound::loadWave(const std::string& path) {
    if (!active_) return std::make_shared<RecordedWave>(std::nullopt);
    std::string error;
    auto w = loadWav(path, error);
    if (!w) errors.report(error);
    return std::make_shared<RecordedWave>(std::move(w));
}

void RecordingSound::SetPrimaryFormat(int frequency, int, bool) {
    if (active_) primaryFrequency_ = frequency;
}

bool RecordingSound::reinitialise() {
    for (auto& c : channels_) c->setWaveData(nullptr);
    return true;
}

void RecordingSound::record(int channel, const char* op, std::optional<double> value) {
    if (channel < 0) return;
    std::lock_guard lock(m_);
    ops_.push_back({channel, op, value});
}

std::vector<SoundOp> RecordingSound::takeOps() {
    std::lock_guard lock(m_);
    return std::exchange(ops_, {});
}

}  // namespace ts
