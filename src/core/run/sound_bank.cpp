// The run's sound bank: waves loaded from the data files and bound to their
// channels (drive sounds, route sounds, call-outs, sign sounds from channel 0
// up; motor sounds from channel 100).
#include "data/file_names.h"
#include "devices/sound_errors.h"
#include "run/driving_run.h"
#include "sound_channels.h"

namespace ts {

namespace {

WavePtr load(TDDSD& sound, const std::string& name) {
    if (name.empty()) return nullptr;
    return sound.loadWave(resolveDataPath(name));
}

}  // namespace

void DrivingRun::loadSoundBank() {
    Run& r = run_;
    TDDSD& sound = services_.sound;
    const ChannelMap map = ChannelMap::of(r, r);
    const int K = map.calloutCount;
    // The channels below 100 must not run into the motor sounds.
    if (const auto overflow = channelOverflowMessage(map)) {
        fatal(services_.boxes, *overflow, channelOverflowExplanation(map));
    }

    r.driveSoundWaves.clear();
    r.soundDataWaves.clear();
    r.kankoWaves.clear();
    r.otherSoundWaves.clear();
    r.motorSoundWaves.clear();
    for (const auto& f : r.driveSoundFiles) r.driveSoundWaves.push_back(load(sound, f));
    for (const auto& f : r.soundDataFiles) r.soundDataWaves.push_back(load(sound, f));
    for (const auto& f : r.kankoSound1Files) r.kankoWaves.push_back(load(sound, f));
    for (size_t k = kKankoSlots1; k < r.kankoTable.size(); ++k)
        r.kankoWaves.push_back(load(sound, r.kankoTable[k].fileName));
    for (const auto& f : r.otherSoundFiles) r.otherSoundWaves.push_back(load(sound, f));
    for (const auto& m : r.motorSoundTable) r.motorSoundWaves.push_back(load(sound, m.fileName));

    progress("Soundを読み込んでいます");
    try {
        int ch = 0;
        for (const auto& w : r.driveSoundWaves) sound.Channel(ch++).setWaveData(w);
        for (const auto& w : r.soundDataWaves) sound.Channel(ch++).setWaveData(w);
        for (int k = 0; k < K; ++k) sound.Channel(ch++).setWaveData(r.kankoWaves[size_t(k)]);
        for (const auto& w : r.otherSoundWaves) sound.Channel(ch++).setWaveData(w);
        for (size_t i = 0; i < r.motorSoundWaves.size(); ++i)
            sound.Channel(ChannelMap::motor(int(i))).setWaveData(r.motorSoundWaves[i]);
    } catch (const std::exception&) {
        fatal(services_.boxes, "DirectSoundの割り当てに失敗しました。");
    }

    for (int ch = 0; ch < map.lowCount(); ++ch) sound.Channel(ch).Stop();
    for (int i = 0; i < r.motorSoundCount(); ++i) sound.Channel(ChannelMap::motor(i)).Stop();
}

void DrivingRun::releaseSoundBank() {
    Run& r = run_;
    TDDSD& sound = services_.sound;
    for (int ch = 0; ch < ChannelMap::motor(r.motorSoundCount()) && ch < sound.ChannelCount(); ++ch)
        sound.Channel(ch).setWaveData(nullptr);
    r.driveSoundWaves.clear();
    r.soundDataWaves.clear();
    r.kankoWaves.clear();
    r.otherSoundWaves.clear();
    r.motorSoundWaves.clear();
}

}  // namespace ts
