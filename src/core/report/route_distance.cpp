#include "report/route_distance.h"

#include <algorithm>

namespace ts {

namespace {
// A cap on the table (37 hours of video at 30 frames a second): a route with
// a wild [EndPos] must not claim gigabytes.
constexpr int32_t kMaxFrames = 4'000'000;
}  // namespace

RouteDistance::RouteDistance(const RouteData& route) {
    int32_t frames = std::max(0, route.lineEnd());
    for (const auto& row : route.speedUnitTable) frames = std::max({frames, row.fromPosition, row.toPosition});
    frames = std::min(frames, kMaxFrames) + 1;
    // The run takes the last row that holds a frame and keeps the speed it had
    // between rows: the same here, row after row, then carried forward.
    std::vector<float> speed(size_t(frames), -1.0f);
    for (const auto& row : route.speedUnitTable) {
        if (row.fromPosition == row.toPosition) continue;  // one frame: no slope
        const int32_t from = std::clamp(std::min(row.fromPosition, row.toPosition), 0, frames - 1);
        const int32_t to = std::clamp(std::max(row.fromPosition, row.toPosition), 0, frames - 1);
        const double slope = double(row.toSpeed - row.fromSpeed) / double(row.toPosition - row.fromPosition);
        for (int32_t f = from; f <= to; ++f) speed[size_t(f)] = float(row.fromSpeed + slope * (f - row.fromPosition));
    }
    metres_.resize(size_t(frames));
    float last = 0;
    double sum = 0;
    for (size_t f = 0; f < speed.size(); ++f) {
        if (speed[f] >= 0) last = speed[f];
        metres_[f] = float(sum);
        sum += double(last) / 3.6 / 30.0;
    }
    lastSpeedKmh_ = last;
}

double RouteDistance::metresAt(int32_t frame) const {
    if (metres_.empty()) return 0;
    if (frame <= 0) return 0;
    if (size_t(frame) < metres_.size()) return metres_[size_t(frame)];
    return metres_.back() + double(frame - int32_t(metres_.size() - 1)) * lastSpeedKmh_ / 3.6 / 30.0;
}

}  // namespace ts
