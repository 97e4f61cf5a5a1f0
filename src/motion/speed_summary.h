// The summary of a speed fitted to a video's motion, one line each, as the
// command prints it and the editor's dialog shows it.
#pragma once
#include <string>
#include <vector>

#include "motion/speed_from_motion.h"

namespace ts::motion {

struct SummarySource {
    std::string video;     // as the route names it
    bool cached = false;   // the motion came from the cache
    std::string scaledBy;  // "4 marks from stations", "the speed 45.0 km/h at frame 900"
};

std::vector<std::string> summarise(const SpeedResult& result, const SpeedRequest& request, const SummarySource& source);

}  // namespace ts::motion
