// Sound scheduling of the 100 ms step: brake squeal, route sounds by
// position, announcements, Doppler passages, stop sounds, running noise by
// speed band, motor sounds and the diesel engine.
#pragma once
#include "devices/sound_device.h"
#include "panel_model.h"
#include "run.h"

namespace ts {

// The volume in hundredths of a decibel for an amplitude ratio; -10000 for a ratio of 0 or less.
int32_t dB100(long double ratio);

void brakeSqueal(const TrainData& t, const Motion& m, const Handles& h, const AirBrake& air, SoundLevels& lv,
                 TDDSD& sound);
void routeSounds(const RouteData& route, const TrainData& t, const Motion& m, SoundLevels& lv,
                 TDDSD& sound);  // [Sound], [Announce], [Doppler]
void stopSounds(const RouteData& route, const TrainData& t, const Motion& m, TDDSD& sound);
void driveSounds(const Motion& m, SoundLevels& lv, TDDSD& sound);
void motorSounds(const TrainData& t, const Motion& motion, const Handles& h, SoundLevels& lv, TDDSD& sound);
// Idling sounds, the engine model and the engine sound (diesel railcars only).
void dieselEngine(const TrainData& t, Motion& m, Traction& tr, const Handles& h, const StationState& st,
                  const PanelModel& p, TDDSD& sound);

}  // namespace ts
