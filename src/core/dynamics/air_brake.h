// The air brake: brake cylinder, equalizing reservoir / brake pipe, straight
// air pipe and main reservoir pressures for the three brake types, the brake
// cylinder gauge, and the compressor.
#pragma once
#include "devices/sound_device.h"
#include "run.h"

namespace ts {

// Once per 33 ms step.
void brakePressures(const TrainData& t, const Protection& p, const Handles& h, AirBrake& air);
void brakeCylinderGauge(const TrainData& t, const Motion& m, AirBrake& air);
// Once per 100 ms step.
void compressor(const TrainData& t, AirBrake& air, TDDSD& sound);

}  // namespace ts
