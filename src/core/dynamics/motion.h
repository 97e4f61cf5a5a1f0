// Speed, position and the recorded run: integrating a force over one tick,
// turning speed into video frames, and the recording train's speed.
#pragma once
#include "run.h"

namespace ts {

// The speed after a force (N x 10000) acts on the train for 1/30 s.
int64_t speedAfter(const TrainData& t, const Motion& m, int64_t force);
// Advances trainPosition by speed / recorded speed frames, carrying the remainder.
void advanceFrames(Motion& m);
// The recording train's speed at trainPosition, from the [SpeedUnit] rows.
void updateRecordedSpeed(const RouteData& route, Motion& m);
// Ticks of the clock per video frame (30 div frameRate).
int ticksPerFrame(const RouteData& route);

}  // namespace ts
