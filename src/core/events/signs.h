// Lineside signs: the gradient sign, the speed-limit sign (blinking while
// announced), the route's speed checks and the other signs.
#pragma once
#include "panel_model.h"
#include "run.h"

namespace ts {

void speedLimitBlink(const SignState& signs, const Presentation& pres, PanelModel& p);
void gradientSign(const RouteData& route, const Motion& m, SignState& signs, PanelModel& p);
void speedLimitSigns(const RouteData& route, const Motion& m, SignState& signs, PanelModel& p);
void speedChecks(const RouteData& route, const Motion& m, Protection& pr);
void otherSigns(const RouteData& route, const Motion& m, SignState& signs, PanelModel& p);

// The SignImageList picture of a speed limit: limit / 5 for 15, 20, ... 120 km/h, else 0.
int speedLimitImage(int limit);

}  // namespace ts
