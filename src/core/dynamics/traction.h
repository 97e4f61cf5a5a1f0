// Traction and brake force: the notch and gear tables, the handle delays,
// the reverser, the brake force from the brake cylinder, the hold position,
// and the diesel engine model.
#pragma once
#include "run.h"

namespace ts {

// Adds an acceleration in km/h/s, applied to the whole train mass, to appliedForce.
void addAcceleration(const TrainData& t, Motion& m, long double a);

void electricTraction(const TrainData& t, Motion& m, const Handles& h);              // A
void dieselTraction(const TrainData& t, Motion& m, Traction& tr, const Handles& h);  // B, gear change included
void powerDelay(const TrainData& t, Traction& tr, Handles& h);                       // C
void applyReverser(const Handles& h, Motion& m);                                     // D
void brakeDelay(const TrainData& t, Traction& tr, Handles& h);                       // E
void brakeForce(const TrainData& t, Motion& m, const AirBrake& air);                 // F
void holdPositionForce(Motion& m, const Adhesion& a, const Handles& h);              // G
// H: once per 100 ms step, diesel railcars only.
void dieselEngineModel(const TrainData& t, const Motion& m, Traction& tr, const Handles& h);

}  // namespace ts
