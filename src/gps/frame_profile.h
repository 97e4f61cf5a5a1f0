// The ride seen frame by frame: the distance run at each video frame and the
// speed there, from the speed curve fitted to the distances. The
// speed is the one the view shows when the video plays at 30 frames a second,
// which is the ride's own speed unless the camera's rate drifted.
#pragma once
#include <vector>

#include "gps/alignment.h"
#include "gps/ride_path.h"
#include "gps/speed_curve.h"

namespace ts::gps {

struct FrameProfile {
    std::vector<double> distance;  // metres, per frame
    std::vector<double> speedKmh;  // per frame, >= 0

    int frames() const { return int(distance.size()); }
    // The first frame at which the distance reaches `metres` (the last frame when it never does).
    int frameAt(double metres) const;
};

FrameProfile profileFrames(const RidePath& path, const Alignment& align, int frames, const CurveOptions& options = {});

}  // namespace ts::gps
