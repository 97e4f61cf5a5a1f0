#include "events/sound_schedule.h"
#include "panel_names.h"

#include <cstdlib>

#include "dynamics/fixed_point.h"
#include "dynamics/traction.h"
#include "sound_channels.h"

namespace ts {

namespace {

bool playing(TDDSD& sound, int ch) { return sound.Channel(ch).Status() != 0; }

long double lerp(long double x, long double x0, long double y0, long double x1, long double y1) {
    if (x1 == x0) return y0;
    return y0 + (y1 - y0) * (x - x0) / (x1 - x0);
}

}  // namespace

int32_t dB100(long double ratio) {
    if (!(ratio > 0)) return -10000;
    return storeInt(2000 * std::log10(ratio));
}

void brakeSqueal(const TrainData& t, const Motion& m, const Handles& h, const AirBrake& air, SoundLevels& lv,
                 TDDSD& sound) {
    const long double u = std::fabs(real(m.speed));
    TDDSDChannel& ch = sound.Channel(t.soundSqueak);
    const bool braking = h.effectiveBrakeNotch < 0 && 3 < u && u < t.loseElec;
    if (braking && !playing(sound, t.soundSqueak)) restartLooping(sound, t.soundSqueak);
    if (h.effectiveBrakeNotch == 0 || u >= 45 || u <= 3) {
        lv.squealVolume -= 100;
        ch.SetVolume(lv.squealVolume);
        if (lv.squealVolume < -5000) ch.Stop();
    }
    if (braking && air.bcPressure > 0) {
        lv.squealVolume = storeInt(500.0L / air.bcPressure * -500 * kFixedScale);
        ch.SetVolume(lv.squealVolume);
    }
}

void routeSounds(const RouteData& route, const TrainData& t, const Motion& m, SoundLevels& lv, TDDSD& sound) {
    const long double v = real(m.speed);
    const ChannelMap map = ChannelMap::of(route, t);
    if (lv.routeSoundStarted.size() < route.routeSoundTable.size())
        lv.routeSoundStarted.resize(route.routeSoundTable.size(), 0);
    for (size_t i = 0; i < route.routeSoundTable.size(); ++i) {
        const RouteSoundRow& s = route.routeSoundTable[i];
        const int c = map.route(s.soundIndex);
        TDDSDChannel& ch = sound.Channel(c);
        // A pitch speed of 1 (or none) keeps the recorded pitch and level.
        const bool follows = s.pitchSpeed != 1 && s.pitchSpeed > 0;
        const long double ratio = follows ? v / s.pitchSpeed : 1.0L;
        const bool atStart = std::abs(s.position - m.trainPosition) < 5;
        if (s.loopMode == 0 && atStart) {
            ch.SetFrequencyFactor(double(ratio));
            if (!lv.routeSoundStarted[i]) {
                ch.Stop();
                ch.Play();
            }
            lv.routeSoundStarted[i] = 1;
        }
        if (s.loopMode >= 1 && atStart) {
            ch.SetFrequencyFactor(double(ratio));
            if (follows) ch.SetVolume(dB100(ratio));
            if (!lv.routeSoundStarted[i]) restartLooping(sound, c);
            lv.routeSoundStarted[i] = 1;
        }
        if (s.loopMode >= 1 && std::abs(s.endPosition - m.trainPosition) < 5 && lv.routeSoundStarted[i]) ch.Stop();
        if (s.position < m.trainPosition && m.trainPosition < s.endPosition && follows) {
            if (s.loopMode == 1) ch.SetFrequencyFactor(double(ratio));
            ch.SetVolume(m.speed > 0 ? dB100(ratio) : -10000);
        }
    }
    for (const AnnounceRow& a : route.announceTable) {
        const int c = map.route(a.soundIndex);
        if (a.position - 5 < m.trainPosition && m.trainPosition < a.position + 5 && !playing(sound, c))
            restart(sound, c);
    }
    for (const DopplerRow& d : route.dopplerTable) {
        const int c = map.route(d.soundIndex);
        TDDSDChannel& ch = sound.Channel(c);
        const long double p = m.trainPosition;
        if (d.fromPosition < p && p < d.passPosition) {
            ch.SetFrequencyFactor(double(1220 / (1220 - v)));
            ch.SetVolume(storeInt(-(d.passPosition - p) / (d.passPosition - d.fromPosition) * 1000));
        }
        if (d.passPosition < p && p < d.toPosition) {
            ch.SetFrequencyFactor(double(1220 / (1220 + v)));
            ch.SetVolume(storeInt(-(p - d.passPosition) / (d.toPosition - d.passPosition) * 1000));
        }
        if (d.toPosition < p && p < d.toPosition + 10) ch.Stop();
        if (d.fromPosition < p && p < d.fromPosition + 10 && !playing(sound, c)) restartLooping(sound, c);
    }
}

void stopSounds(const RouteData& route, const TrainData& t, const Motion& m, TDDSD& sound) {
    for (int32_t p : route.stopSoundTable)
        if (p < m.trainPosition && m.trainPosition < p + 30 && !playing(sound, t.soundStop))
            restartLooping(sound, t.soundStop);
    if (m.speed < kFixedOne && playing(sound, t.soundStop)) sound.Channel(t.soundStop).Stop();
}

void driveSounds(const Motion& m, SoundLevels& lv, TDDSD& sound) {
    const int64_t n = std::llabs(roundedKmh(m.speed));
    if (n >= 120) return;
    const int b = int(n / 10), rest = int(n % 10);
    if (n > 10 && playing(sound, b - 1)) sound.Channel(b - 1).Stop();
    if (n < 110 && playing(sound, b + 2)) sound.Channel(b + 2).Stop();
    if (!playing(sound, b)) restartLooping(sound, b);
    if (!playing(sound, b + 1)) restartLooping(sound, b + 1);
    lv.driveLevelLow = 100 - 10 * rest;
    lv.driveLevelHigh = 10 * rest;
    if (lv.driveLevelLow == 0) lv.driveLevelLow = 1;
    if (lv.driveLevelHigh == 0) lv.driveLevelHigh = 1;
    sound.Channel(b).SetVolume(dB100(lv.driveLevelLow / 100));
    sound.Channel(b + 1).SetVolume(dB100(lv.driveLevelHigh / 100));
}

void motorSounds(const TrainData& t, const Motion& motion, const Handles& h, SoundLevels& lv, TDDSD& sound) {
    const size_t rows = t.motorSoundTable.size();
    lv.motorSpeedLevel.resize(rows, 1.0L);
    lv.motorFadeLevel.resize(rows, 1.0L);
    const long double v = real(motion.speed);
    for (size_t i = 0; i < rows; ++i) {
        const MotorSoundData& m = t.motorSoundTable[i];
        if (m.speedFrom * kFixedOne < motion.speed && motion.speed < m.speedTo * kFixedOne) {
            sound.Channel(ChannelMap::motor(int(i)))
                .SetFrequencyFactor(double(lerp(v, m.speedFrom, m.pitchFrom, m.speedTo, m.pitchTo)));
            lv.motorSpeedLevel[i] = lerp(v, m.speedFrom, m.levelFrom, m.speedTo, m.levelTo);
        } else {
            lv.motorSpeedLevel[i] = 1;
        }
        if (m.condition == 2 || (m.condition == 0 && h.effectivePowerNotch >= 1) ||
            (m.condition == 1 && h.effectiveBrakeNotch < 0)) {
            lv.motorFadeLevel[i] = 100;
        } else if (lv.motorFadeLevel[i] > 16) {
            lv.motorFadeLevel[i] -= 10;
        }
    }
    const bool notched = h.effectivePowerNotch != 0 || h.effectiveBrakeNotch != 0;
    if (notched && lv.motorMasterLevel < 85) lv.motorMasterLevel += 20;
    if (!notched && lv.motorMasterLevel > 15) lv.motorMasterLevel -= 10;
    for (size_t i = 0; i < rows; ++i) {
        if (lv.motorSpeedLevel[i] < 1) lv.motorSpeedLevel[i] = 1;
        const int ch = ChannelMap::motor(int(i));
        sound.Channel(ch).SetVolume(
            dB100(lv.motorSpeedLevel[i] * lv.motorFadeLevel[i] * lv.motorMasterLevel / 1000000));
        if (!playing(sound, ch)) restartLooping(sound, ch);
    }
}

void dieselEngine(const TrainData& t, Motion& m, Traction& tr, const Handles& h, const StationState& st,
                  const PanelModel& p, TDDSD& sound) {
    if (t.engineType != EngineType::Diesel) return;
    const auto label = p.labels.find(cn::Label4);
    const bool kelvane = label != p.labels.end() && label->second == "Kelvane";
    if (st.doorsOpen == 0) {
        if (!playing(sound, t.engineSound2)) {
            sound.Channel(t.engineSound2).Stop();
            sound.Channel(t.engineSound3).Stop();
            sound.Channel(t.engineSound2).PlayLoop();
        }
    } else if (!kelvane) {
        if (!playing(sound, t.engineSound3)) {
            sound.Channel(t.engineSound2).Stop();
            sound.Channel(t.engineSound3).Stop();
            sound.Channel(t.engineSound3).PlayLoop();
        }
    } else if (!playing(sound, 25)) {
        sound.Channel(t.engineSound2).Stop();
        sound.Channel(t.engineSound3).Stop();
        sound.Channel(25).Stop();
        sound.Channel(25).PlayLoop();
    }
    dieselEngineModel(t, m, tr, h);
    TDDSDChannel& engine = sound.Channel(t.engineSound1);
    engine.SetVolume(dB100(tr.engineLevel / 100));
    if (!playing(sound, t.engineSound1)) restartLooping(sound, t.engineSound1);
    engine.SetFrequencyFactor(double(tr.enginePitch / 200 + 0.5L));
}

}  // namespace ts
