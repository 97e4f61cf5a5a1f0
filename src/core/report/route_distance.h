// How far along the route each video frame lies, in metres, from the speed
// the recording train ran at ([SpeedUnit]): a frame is 1/30 s of that ride.
// The report draws and measures in these metres, so that a chart of a
// stretch driven slowly is not squeezed and a stop can be placed without the
// run's own distance counter.
#pragma once
#include <cstdint>
#include <vector>

#include "data/route_data.h"

namespace ts {

class RouteDistance {
public:
    RouteDistance() = default;
    explicit RouteDistance(const RouteData& route);
    // Metres from frame 0 to `frame`; frames beyond the table go on at the
    // last frame's speed.
    double metresAt(int32_t frame) const;

private:
    std::vector<float> metres_;  // at each frame
    float lastSpeedKmh_ = 0;
};

}  // namespace ts
