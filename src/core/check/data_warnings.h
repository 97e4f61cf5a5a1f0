// Warnings about data that loads but misbehaves in a run: rows out of order,
// positions outside the video or the line, indexes beyond their lists, waves
// and video that cannot be read.
#pragma once
#include <string>

#include "check/data_check.h"
#include "data/route_data.h"
#include "data/train_data.h"

namespace ts {

void addDataWarnings(const RouteData& route, const TrainData& train, const std::string& routeFile,
                     const std::string& trainFile, CheckDevices& devices, Diagnostics& out);

}  // namespace ts
