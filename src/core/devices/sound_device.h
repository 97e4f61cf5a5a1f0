// The bank of numbered sound channels the simulator plays every sound through:
// a device (TDDSD) with channels (TDDSDChannel) bound to loaded waves
// (TDDSDWaveData). Implemented on OpenAL Soft, and by a device-free twin that
// records every operation for tests and the drive mode.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace ts {

class TDDSDWaveData {
public:
    virtual ~TDDSDWaveData() = default;
    // True when the file could not be loaded (or the device is inactive).
    virtual bool empty() const = 0;
};

using WavePtr = std::shared_ptr<TDDSDWaveData>;

// A channel's status bits (TDDSDChannel::Status): playing, and looping,
// which comes with playing.
constexpr int kSoundPlaying = 1;
constexpr int kSoundLooping = 4;
inline bool isPlaying(int status) { return (status & kSoundPlaying) != 0; }

class TDDSDChannel {
public:
    virtual ~TDDSDChannel() = default;
    // Binds a wave (or none). Binding the wave already bound changes nothing.
    virtual void setWaveData(const WavePtr& wave) = 0;
    virtual void Play() = 0;      // rewinds and plays once
    virtual void PlayLoop() = 0;  // rewinds and plays looping
    virtual void Stop() = 0;      // stops; the position stays
    // 1 playing, 4 looping (both bits while looping), 0 stopped or unbound.
    virtual int Status() = 0;
    virtual void SetFrequencyFactor(double factor) = 0;
    virtual void SetVolume(int32_t hundredthsOfDb) = 0;
};

enum DebugFlag : unsigned { dsoHaltOnError = 1, dsoDebugMessage = 2, dsoExceptOnError = 4 };

class TDDSD {
public:
    virtual ~TDDSD() = default;
    // Creates the channels and opens the output; false when no device could be opened
    // (every operation is then a no-op).
    virtual bool startUp() = 0;
    virtual bool active() const = 0;
    virtual int ChannelCount() const = 0;
    // Channel `index`; an index out of range gives a channel that does nothing.
    virtual TDDSDChannel& Channel(int index) = 0;
    // Loads a RIFF wave file; an empty wave when it cannot be loaded.
    virtual WavePtr loadWave(const std::string& path) = 0;
    virtual void SetPrimaryFormat(int frequency, int bits, bool stereo) = 0;
    // Releases every channel buffer and opens the device again; false on failure.
    virtual bool reinitialise() = 0;
};

}  // namespace ts
