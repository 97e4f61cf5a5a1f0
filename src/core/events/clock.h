// The cab clock: the digital time in Label3 and the analogue face.
#pragma once
#include <string>

#include "panel_model.h"
#include "run.h"

namespace ts {

// "HH:MM:SS" of a time of day in 1/30 s; hours are not reduced modulo 24.
std::string clockText(int32_t clockTicks);

// Writes Label3 and, when the panel has a clock, the hands of the clock face.
void timecalc(const TrainData& t, const Motion& m, PanelModel& p);

}  // namespace ts
