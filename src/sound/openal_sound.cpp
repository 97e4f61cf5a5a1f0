#include "sound/openal_sound.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <algorithm>
#include <cmath>

#include "sound/wav_file.h"

namespace ts {

namespace {

// Highest pitch OpenAL Soft plays; a factor above it is clamped.
constexpr float kMaxPitch = 255.0f;

class AlWave final : public TDDSDWaveData {
public:
    AlWave() = default;
    ~AlWave() override {
        // A buffer belongs to the context it was made in; after a re-initialisation it is gone.
        if (buffer && context && alcGetCurrentContext() == context) alDeleteBuffers(1, &buffer);
    }
    bool empty() const override { return buffer == 0; }
    ALCcontext* context = nullptr;
    ALuint buffer = 0;
    uint32_t rate = 0;
};

}  // namespace

class OpenAlSound::AlChannel final : public TDDSDChannel {
public:
    explicit AlChannel(bool real) {
        if (real) alGenSources(1, &source_);
    }
    ~AlChannel() override { release(); }

    void release() {
        if (source_ && alcGetCurrentContext()) {
            alSourceStop(source_);
            alSourcei(source_, AL_BUFFER, 0);
            alDeleteSources(1, &source_);
        }
        source_ = 0;
        wave_.reset();
        bound_ = nullptr;
    }

    void setWaveData(const WavePtr& wave) override {
        if (!source_ || wave == wave_) return;
        if (bound_) {
            alSourceStop(source_);
            alSourcei(source_, AL_BUFFER, 0);
        }
        wave_ = wave;
        bound_ = dynamic_cast<AlWave*>(wave.get());
        if (bound_ && bound_->empty()) bound_ = nullptr;
        if (!bound_) return;
        alSourcei(source_, AL_BUFFER, ALint(bound_->buffer));
        alSourcef(source_, AL_PITCH, 1.0f);
        alSourcef(source_, AL_GAIN, 1.0f);
        alSourcei(source_, AL_SOURCE_RELATIVE, AL_TRUE);
        alSource3f(source_, AL_POSITION, 0, 0, 0);
    }
    void Play() override { start(false); }
    void PlayLoop() override { start(true); }
    void Stop() override {
        if (bound_) alSourcePause(source_);
    }
    int Status() override {
        if (!bound_) return 0;
        ALint state = 0, looping = 0;
        alGetSourcei(source_, AL_SOURCE_STATE, &state);
        alGetSourcei(source_, AL_LOOPING, &looping);
        if (state != AL_PLAYING) return 0;
        return looping ? 5 : 1;
    }
    void SetFrequencyFactor(double x) override {
        if (!bound_ || bound_->rate == 0) return;
        const double freq = std::nearbyint(double(bound_->rate) * x);
        const float pitch = std::clamp(float(freq / bound_->rate), 0.0f, kMaxPitch);
        alSourcef(source_, AL_PITCH, pitch);
    }
    void SetVolume(int32_t v) override {
        if (!bound_) return;
        const int32_t clamped = std::clamp<int32_t>(v, -10000, 0);
        alSourcef(source_, AL_GAIN, float(std::pow(10.0, clamped / 2000.0)));
    }

private:
    void start(bool loop) {
        if (!bound_) return;
        alSourceRewind(source_);
        alSourcei(source_, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
        alSourcePlay(source_);
    }

    ALuint source_ = 0;
    WavePtr wave_;
    AlWave* bound_ = nullptr;
};

OpenAlSound::OpenAlSound(int channelCount) : channelCount_(channelCount) {
    errors.debugOption = dsoHaltOnError;
    outside_ = std::make_unique<AlChannel>(false);
}

OpenAlSound::~OpenAlSound() { close(); }

bool OpenAlSound::open() {
    auto* device = alcOpenDevice(nullptr);
    if (!device) return false;
    const ALCint attrs[] = {ALC_MONO_SOURCES, std::max(channelCount_, 1), ALC_STEREO_SOURCES,
                            std::max(channelCount_, 1), 0};
    auto* context = alcCreateContext(device, attrs);
    if (!context || !alcMakeContextCurrent(context)) {
        if (context) alcDestroyContext(context);
        alcCloseDevice(device);
        return false;
    }
    device_ = device;
    context_ = context;
    everActive_ = true;
    channels_.clear();
    for (int i = 0; i < channelCount_; ++i) channels_.push_back(std::make_unique<AlChannel>(true));
    return true;
}

void OpenAlSound::close() {
    for (auto& c : channels_) c->release();
    channels_.clear();
    if (context_) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(static_cast<ALCcontext*>(context_));
        context_ = nullptr;
    }
    if (device_) {
        alcCloseDevice(static_cast<ALCdevice*>(device_));
        device_ = nullptr;
    }
}

bool OpenAlSound::startUp() { return open(); }

TDDSDChannel& OpenAlSound::Channel(int index) {
    if (index < 0 || index >= channelCount_) {
        errors.report(channelRangeMessage(index, channelCount_));
        return *outside_;
    }
    if (!active()) return *outside_;
    return *channels_[size_t(index)];
}

WavePtr OpenAlSound::loadWave(const std::string& path) {
    auto wave = std::make_shared<AlWave>();
    if (!active()) return wave;
    std::string error;
    auto w = loadWav(path, error);
    if (!w) {
        errors.report(error);
        return wave;
    }
    const WaveFormat& f = w->format;
    const ALenum format = f.channels == 1 ? (f.bitsPerSample == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16)
                                          : (f.bitsPerSample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16);
    alGetError();
    alGenBuffers(1, &wave->buffer);
    alBufferData(wave->buffer, format, w->data.data(), ALsizei(w->data.size()), ALsizei(f.sampleRate));
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &wave->buffer);
        wave->buffer = 0;
        errors.report(path + "サウンドバッファの作成に失敗しました");
        return wave;
    }
    wave->rate = f.sampleRate;
    wave->context = static_cast<ALCcontext*>(context_);
    return wave;
}

void OpenAlSound::SetPrimaryFormat(int frequency, int, bool) {
    if (!active()) return;
    // The output frequency is what OpenAL lets a program choose; the mix itself
    // is always in floating point, so bits and channel count have no equivalent.
    using ResetDevice = ALCboolean (*)(ALCdevice*, const ALCint*);
    auto reset =
        reinterpret_cast<ResetDevice>(alcGetProcAddress(static_cast<ALCdevice*>(device_), "alcResetDeviceSOFT"));
    if (!reset) return;
    const ALCint attrs[] = {ALC_FREQUENCY,
                            frequency,
                            ALC_MONO_SOURCES,
                            std::max(channelCount_, 1),
                            ALC_STEREO_SOURCES,
                            std::max(channelCount_, 1),
                            0};
    reset(static_cast<ALCdevice*>(device_), attrs);
}

bool OpenAlSound::reinitialise() {
    const bool wasActive = everActive_;
    close();
    if (open()) return true;
    // A machine that never had a sound device goes on silently, as it ran.
    return !wasActive;
}

}  // namespace ts
