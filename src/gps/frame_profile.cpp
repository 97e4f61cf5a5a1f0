#include "gps/frame_profile.h"

#include <algorithm>

namespace ts::gps {

int FrameProfile::frameAt(double metres) const {
    const auto it = std::lower_bound(distance.begin(), distance.end(), metres);
    if (it == distance.end()) return frames() - 1;
    return int(it - distance.begin());
}

namespace {

// d/dt at t of the least-squares parabola (a line when only two fixes) through
// the distances of fixes [first, last).
double slopeAt(const std::vector<PathSample>& s, size_t first, size_t last, double t) {
    // Moments about t, scaled to the window for conditioning.
    double m[5] = {0, 0, 0, 0, 0}, r[3] = {0, 0, 0};
    const double d0 = s[first].distance;
    for (size_t k = first; k < last; ++k) {
        const double u = s[k].time - t, y = s[k].distance - d0;
        double p = 1;
        for (int j = 0; j < 5; ++j) {
            m[j] += p;
            if (j < 3) r[j] += p * y;
            p *= u;
        }
    }
    auto det3 = [](double a, double b, double c, double d, double e, double f, double g, double h, double i) {
        return a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    };
    const double det = det3(m[0], m[1], m[2], m[1], m[2], m[3], m[2], m[3], m[4]);
    if (last - first >= 3 && std::abs(det) > 1e-9 * std::max(1.0, m[4] * m[0] * m[2])) {
        // Cramer's rule for the middle coefficient.
        return det3(m[0], r[0], m[2], m[1], r[1], m[3], m[2], r[2], m[4]) / det;
    }
    const double n = m[0], sxx = m[2] - m[1] * m[1] / n, sxy = r[1] - m[1] * r[0] / n;
    return sxx > 0 ? sxy / sxx : 0;
}

}  // namespace

FrameProfile profileFrames(const RidePath& path, const Alignment& align, int frames, double window) {
    const auto& s = path.samples;
    // The speed at each fix: the slope at the fix of a parabola fitted by
    // least squares to distance over time in the window round it. That is the
    // exact speed wherever the speed changes linearly, also where the window
    // is lopsided (the ends of the ride, beside a gap). Between fixes the
    // speed is interpolated linearly.
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
            last = std::min(s.size(), first + 3);
        }
        fixSpeed[i] = std::max(0.0, slopeAt(s, first, last, t));
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
        double speed, distance;
        if (t < s.front().time) {  // before the first fix: at its speed
            speed = fixSpeed.front();
            distance = s.front().distance - speed * (s.front().time - t);
        } else if (t > s.back().time) {  // after the last
            speed = fixSpeed.back();
            distance = s.back().distance + speed * (t - s.back().time);
        } else {
            const double u = b.time > a.time ? std::clamp((t - a.time) / (b.time - a.time), 0.0, 1.0) : 0;
            distance = a.distance + u * (b.distance - a.distance);
            speed = fixSpeed[at] + u * (fixSpeed[at + 1] - fixSpeed[at]);
        }
        f.distance[size_t(i)] = distance;
        f.speedKmh[size_t(i)] = speed * 3.6 * pace;
    }
    return f;
}

}  // namespace ts::gps
