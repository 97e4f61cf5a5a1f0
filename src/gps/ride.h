// The track made one timed line: segments joined in order, checked for what
// makes it unusable (no times, times going backwards, gaps, too short for the
// video), times counted from the first point.
#pragma once
#include <vector>

#include "gps/alignment.h"
#include "gps/track.h"

namespace ts::gps {

struct Ride {
    std::vector<TrackPoint> points;  // time: seconds after the first point
    double startEpoch = 0;           // the first point's time, seconds since the epoch
};

// Joins the segments; throws ImportError for an empty track, a point without a
// time, or a time earlier than the one before it. A repeated time keeps its first point.
Ride joinSegments(const Track& track);

// The ride must cover every frame from 0 to frames - 1 without a gap longer than
// `maxGapSeconds` (the video may begin or end that much beyond the track);
// throws ImportError naming the line otherwise.
void checkCoverage(const Ride& ride, const Alignment& align, int frames, double maxGapSeconds);

}  // namespace ts::gps
