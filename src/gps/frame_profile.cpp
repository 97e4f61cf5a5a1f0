#include "gps/frame_profile.h"

#include <algorithm>

namespace ts::gps {

int FrameProfile::frameAt(double metres) const {
    const auto it = std::lower_bound(distance.begin(), distance.end(), metres);
    if (it == distance.end()) return frames() - 1;
    return int(it - distance.begin());
}

FrameProfile profileFrames(const RidePath& path, const Alignment& align, int frames, double window) {
    const auto& s = path.samples;
    // The speed at each fix: the least-squares slope of distance over time in
    // the window centred on it, which is the exact speed wherever the speed
    // changes linearly. Between fixes it is interpolated linearly.
    const double half = window / 2;
    std::vector<double> fixSpeed(s.size(), 0.0);
    size_t lo = 0, hi = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = s[i].time;
        while (hi < s.size() && s[hi].time <= t + half) ++hi;
        while (s[lo].time < t - half) ++lo;
        size_t first = lo, last = hi;
        // Too few fixes in the window (dropped ones): the neighbours either side.
        if (last - first < 3) {
            first = i > 0 ? i - 1 : 0;
            last = std::min(s.size(), i + 2);
        }
        double st = 0, sd = 0;
        for (size_t k = first; k < last; ++k) st += s[k].time - t, sd += s[k].distance;
        const double n = double(last - first), mt = st / n, md = sd / n;
        double sxx = 0, sxy = 0;
        for (size_t k = first; k < last; ++k) {
            const double dt = s[k].time - t - mt;
            sxx += dt * dt;
            sxy += dt * (s[k].distance - md);
        }
        fixSpeed[i] = sxx > 0 ? std::max(0.0, sxy / sxx) : 0;
    }

    FrameProfile f;
    f.distance.resize(size_t(frames));
    f.speedKmh.resize(size_t(frames));
    // A frame that holds more of the ride than 1/30 s (a camera slower than
    // its nominal rate) shows the train faster when played at 30 frames a second.
    const double pace = align.secondsPerFrame * kFramesPerSecond;
    size_t at = 0;
    for (int i = 0; i < frames; ++i) {
        const double t = align.timeOf(i);
        while (at + 2 < s.size() && s[at + 1].time <= t) ++at;
        const PathSample& a = s[at];
        const PathSample& b = s[at + 1];
        const double u = b.time > a.time ? std::clamp((t - a.time) / (b.time - a.time), 0.0, 1.0) : 0;
        f.distance[size_t(i)] = a.distance + u * (b.distance - a.distance);
        f.speedKmh[size_t(i)] = (fixSpeed[at] + u * (fixSpeed[at + 1] - fixSpeed[at])) * 3.6 * pace;
    }
    return f;
}

}  // namespace ts::gps
