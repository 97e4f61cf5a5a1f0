// Lineside signs: the gradient sign, the speed-limit sign (blinking while
// announced), the route's speed checks and the other signs.
#pragma once
#include "panel_model.h"
#include "run.h"

namespace ts {

void speedLimitBlink(const SignState& signs, const Presentation& pres, PanelModel& p);
void gradientSign(Run& r, PanelModel& p);
void speedLimitSigns(Run& r, PanelModel& p);
void speedChecks(Run& r);
void otherSigns(Run& r, PanelModel& p);

// The SignImageList picture of a speed limit: limit / 5 for 15, 20, ... 120 km/h, else 0.
int speedLimitImage(int limit);

}  // namespace ts
