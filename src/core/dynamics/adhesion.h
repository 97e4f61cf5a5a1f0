// Adhesion, wheel slip and slide, the gradient, starting and running
// resistances, and the gradient averaged over the train.
#pragma once
#include <string>

#include "run.h"

namespace ts {

// The acceleration of gravity (m/s²) of every force and read-out that needs it.
constexpr long double kGravity = 9.8L;

void updateAdhesion(const Motion& m, Adhesion& a);                     // adhesion coefficient for the current speed
void gradientForce(const TrainData& t, const Adhesion& a, Motion& m);  // m g sin(theta) against the climb
// Limits appliedForce to what the wheels transmit; returns "Normal", "Racing" or "Sliding".
const char* slipAndSlide(const TrainData& t, const Handles& h, const Adhesion& a, Motion& m);
void startingResistance(const TrainData& t, Motion& m);  // below 8 km/h
void runningResistance(const TrainData& t, Motion& m);   // above 0.1 km/h
void sampleTrainGradient(const TrainData& t, const Motion& m, const SignState& signs,
                         Adhesion& a);  // every 20 m of travel

// cos(theta) of the train gradient, from the stored integer.
long double gradientCosine(const Adhesion& a);

}  // namespace ts
