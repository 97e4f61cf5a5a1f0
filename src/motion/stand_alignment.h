// Lining a GPS track up with the video by their standstills: where the
// picture stands still, the track's distance does not grow either. A sync
// mark read off a departure by eye is easily seconds out; the stands of a
// whole ride put frame 0 on the track to a fraction of a second.
#pragma once
#include <optional>
#include <vector>

#include "gps/ride_path.h"
#include "motion/motion_shape.h"

namespace ts::motion {

struct TimeSpan {
    double from = 0, to = 0;  // seconds after the track's first fix
};

// Where the track runs below walking pace (0.5 m/s from fix to fix) for at
// least `minSeconds`.
std::vector<TimeSpan> trackStandstills(const gps::RidePath& path, double minSeconds = 1);

// The offset (video frame 0 is that many seconds after the track's first
// fix) within [from, to] that lays the video's standstills best over the
// track's: the most seconds of stand in common, the middle of the offsets
// that give it. nullopt when no offset lays any stand over another.
std::optional<double> offsetByStandstills(const std::vector<Standstill>& video, const std::vector<TimeSpan>& track,
                                          double from, double to);

}  // namespace ts::motion
