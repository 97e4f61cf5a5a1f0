#include "gps/frame_profile.h"

#include <algorithm>

namespace ts::gps {

int FrameProfile::frameAt(double metres) const {
    const auto it = std::lower_bound(distance.begin(), distance.end(), metres);
    if (it == distance.end()) return frames() - 1;
    return int(it - distance.begin());
}

FrameProfile profileFrames(const RidePath& path, const Alignment& align, int frames, const CurveOptions& options) {
    const auto& s = path.samples;
    CurveOptions o = options;
    o.cutOnOwnDistance = o.cutOnOwnDistance || path.receiverSpeeds;
    const SpeedCurve curve = fitSpeedCurve(s, o);
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
        const double speed = std::max(0.0, curve.at(t));
        double distance;
        if (t < s.front().time) {  // before the first fix: at its speed
            distance = s.front().distance - speed * (s.front().time - t);
        } else if (t > s.back().time) {  // after the last
            distance = s.back().distance + speed * (t - s.back().time);
        } else {
            const double u = b.time > a.time ? std::clamp((t - a.time) / (b.time - a.time), 0.0, 1.0) : 0;
            distance = a.distance + u * (b.distance - a.distance);
        }
        f.distance[size_t(i)] = distance;
        f.speedKmh[size_t(i)] = speed * 3.6 * pace;
    }
    return f;
}

}  // namespace ts::gps
