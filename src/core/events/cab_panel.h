// The cab panel's read-outs in the 100 ms step: needles, the speed read-out,
// lamps, tunnels, the gear indicator, the stop-distance marker and the
// value-display texts.
#pragma once
#include "panel_model.h"
#include "run.h"

namespace ts {

void needles(const TrainData& t, const Motion& m, const Traction& tr, const AirBrake& air, PanelModel& p);
void digitalSpeed(const Motion& m, PanelModel& p);
void showOtherPictures(PanelModel& p);
void panelLamps(const TrainData& t, const Motion& m, const Handles& h, const StationState& st, PanelModel& p);
void tunnelPanel(const RouteData& route, const Motion& m, PanelModel& p);
void gearIndicator(const TrainData& t, const Traction& tr, const Handles& h, Presentation& pres, PanelModel& p);
void stopDistanceMarker(const Motion& m, PanelModel& p);
void valueDisplay(const TrainData& t, const Motion& m, const Adhesion& a, const AirBrake& air, PanelModel& p);

}  // namespace ts
