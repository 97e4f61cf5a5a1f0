// Sanity checks on what a video file claims, so that a damaged header or
// frame is refused here instead of reaching the scaler or wrapping a count.
#pragma once
#include <cmath>
#include <cstdint>
#include <limits>

namespace ts {

// A frame larger than this on either side is taken as damaged.
constexpr int kMaxVideoSide = 16384;

// A frame count from the container, rounded; beyond int range or not a
// number counts as unknown (0).
inline int frameCountFrom(double frames) {
    if (!std::isfinite(frames) || frames < 0.5 || frames >= double(std::numeric_limits<int>::max())) return 0;
    return int(std::lround(frames));
}

// True when a decoded frame's size is one the scaler can take.
inline bool plausibleFrameSize(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxVideoSide && height <= kMaxVideoSide;
}

}  // namespace ts
