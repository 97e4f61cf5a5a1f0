// The run's parts by name, so that each step's call says which parts it hands
// each function: the loaded data read-only, the run-time parts writable.
#pragma once
#include "run.h"

namespace ts {

struct RunParts {
    const RouteData& route;
    const TrainData& train;
    const LoadedTexts& texts;
    Session& session;
    Motion& motion;
    Traction& traction;
    Adhesion& adhesion;
    Handles& handles;
    DriverOptions& options;
    Protection& protection;
    AirBrake& air;
    SignalState& signal;
    SignState& signs;
    StationState& stations;
    SoundLevels& levels;
    Presentation& presentation;
};

inline RunParts partsOf(Run& r) { return {r, r, r, r, r, r, r, r, r, r, r, r, r, r, r, r}; }

}  // namespace ts
