// From the flow's per-band numbers to the train's relative speed: where the
// train stands, where the ground's vanishing line lies, and how fast the
// ground streams past at each frame, in units of the camera's unknown height
// and focal length (which the distance marks then scale to km/h).
#pragma once
#include <vector>

#include "motion/motion_profile.h"

namespace ts::motion {

struct Standstill {
    int first = 0, last = 0;  // frames, inclusive
    bool contains(int frame) const { return first <= frame && frame <= last; }
};

struct MotionShape {
    // The ground's vanishing line, in rows of the analysed picture.
    double horizon = 0;
    // Relative speed at each frame (0 on a standstill): the train's distance
    // per frame over the camera's height times its focal length.
    std::vector<double> rate;
    // The vanishing row each frame's speed was measured about.
    std::vector<double> vanishingRow;
    std::vector<Standstill> standstills;
    // Relative distance from frame 0 to each frame (`rate` of frame i is the
    // way from frame i - 1 to frame i).
    std::vector<double> travelled;
    // The standstill holding `frame`, or nullptr.
    const Standstill* standstillAt(int frame) const;
    // Relative distance from frame a to frame b (b >= a).
    double between(int a, int b) const;
};

// At least this long without motion is a standstill (1 s of recording).
constexpr int kMinStandstillFrames = 30;

MotionShape motionShape(const MotionProfile& profile);

}  // namespace ts::motion
