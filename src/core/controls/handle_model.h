// The driver's controls: one step of the power and brake handles, the
// reverser and the door switch, and the refresh of their read-outs.
#pragma once
#include "devices/sound_device.h"
#include "panel_model.h"
#include "run.h"
#include "sound_channels.h"

namespace ts {

// Combined handle toward power; true when it released a brake position.
bool combinedNotchUp(const TrainData& t, Handles& h);
// Combined handle toward brake, down to `bound` (1 - B for keys, -B for the wheel);
// true when its brake part ran (power was 0 and the brake above the bound).
bool combinedNotchDown(const TrainData& t, Handles& h, int bound);

void powerUp(const TrainData& t, Handles& h);
void powerDown(const TrainData& t, Handles& h);
void brakeReleaseStep(const TrainData& t, Handles& h);
void brakeApplyStep(const TrainData& t, Handles& h);
void allToNeutral(const TrainData& t, Handles& h);
// Emergency from "q" or "0": brake to EB and power to 0.
void emergency(const TrainData& t, Handles& h);
// Emergency of the brake handle alone ("/"); false (nothing done) when already at EB.
bool brakeHandleEmergency(const TrainData& t, Handles& h);

// Sets the reverser when |speed| <= 1 km/h; true when taken.
bool setReverser(const Motion& m, Handles& h, int direction);
// The reverser lamps as the keyboard sets them.
void showReverserLamps(PanelModel& panel, int direction);

// The door switch (only at standstill).
void Door_operate(const TrainData& t, const Motion& m, StationState& st, TDDSD& sound);

// Refreshes the handle labels and notch images.
void masconupdate(const TrainData& t, const LoadedTexts& texts, const Handles& h, const Protection& pr,
                  PanelModel& panel);

}  // namespace ts
