// The standstills of the route's video for the editor's timeline, from the
// motion its analysis left beside the video: reading them costs a moment,
// and nothing is analysed until the author asks for it.
#pragma once
#include <string>
#include <vector>

#include "data/route_data.h"
#include "motion/motion_shape.h"

namespace ts::editor {

// In the route's frames (through its [VideoAlignment]); none when the video
// `videoPath` has no valid cache beside it.
std::vector<motion::Standstill> cachedStandstills(const RouteData& route, const std::string& videoPath);

}  // namespace ts::editor
