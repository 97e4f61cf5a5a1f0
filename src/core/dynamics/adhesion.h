// Adhesion, wheel slip and slide, the gradient, starting and running
// resistances, and the gradient averaged over the train.
#pragma once
#include <string>

#include "run.h"

namespace ts {

void updateAdhesion(Run& r);    // adhesion coefficient for the current speed
void gradientForce(Run& r);     // m g sin(theta) against the climb
// Limits appliedForce to what the wheels transmit; returns "Normal", "Racing" or "Sliding".
const char* slipAndSlide(Run& r);
void startingResistance(Run& r);  // below 8 km/h
void runningResistance(Run& r);   // above 0.1 km/h
void sampleTrainGradient(Run& r); // every 20 m of travel

// cos(theta) of the train gradient, from the stored integer.
long double gradientCosine(const Run& r);

}  // namespace ts
