// Traction and brake force: the notch and gear tables, the handle delays,
// the reverser, the brake force from the brake cylinder, the hold position,
// and the diesel engine model.
#pragma once
#include "run.h"

namespace ts {

// Adds an acceleration in km/h/s, applied to the whole train mass, to appliedForce.
void addAcceleration(Run& r, long double a);

void electricTraction(Run& r);  // A
void dieselTraction(Run& r);    // B, gear change included
void powerDelay(const TrainData& t, Traction& tr, Handles& h);        // C
void applyReverser(const Handles& h, Motion& m);     // D
void brakeDelay(const TrainData& t, Traction& tr, Handles& h);        // E
void brakeForce(Run& r);        // F
void holdPositionForce(Motion& m, const Adhesion& a, const Handles& h); // G
// H: once per 100 ms step, diesel railcars only.
void dieselEngineModel(Run& r);

}  // namespace ts
