// Stations and doors: the door lamp, the timetable sheet, the station scan
// with arrival, doors and departure, the driver-vigilance device, the window
// caption and the end of the line.
#pragma once
#include "devices/sound_device.h"
#include "panel_model.h"
#include "run.h"

namespace ts {

// The door-closed lamp: the state bit that traction and the doors test, and its picture.
void showDoorLamp(StationState& st, PanelModel& p, bool lit);
void doorLamp(const TrainData& t, StationState& st, PanelModel& p, TDDSD& sound);
void timetableSlide(const DriverOptions& opt, PanelModel& p);
void stationScan(const RouteData& route, const TrainData& t, const LoadedTexts& texts, Motion& m, StationState& st,
                 PanelModel& p, TDDSD& sound);
void vigilanceDevice(const TrainData& t, const LoadedTexts& texts, const Motion& m, Handles& h,
                     const DriverOptions& opt, Protection& pr, PanelModel& p, TDDSD& sound);
void windowCaption(const RouteData& route, PanelModel& p);
// True when the train has run past the end of the line: [EndPos], or 4500
// for a route without it (position 4501 on).
bool endOfLine(const RouteData& route, const Motion& m);

}  // namespace ts
