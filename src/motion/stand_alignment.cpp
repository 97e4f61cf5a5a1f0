#include "motion/stand_alignment.h"

#include <algorithm>
#include <cmath>

namespace ts::motion {

namespace {

constexpr double kStandPace = 0.5;  // m/s

}  // namespace

std::vector<TimeSpan> trackStandstills(const gps::RidePath& path, double minSeconds) {
    std::vector<TimeSpan> out;
    const auto& s = path.samples;
    size_t i = 0;
    while (i + 1 < s.size()) {
        size_t j = i;
        // Below walking pace between fixes: a standing train's wander is no
        // motion (the path grows only once it leaves its stand circle), and
        // with a fix a second a short stand shows only so.
        while (j + 1 < s.size() && s[j + 1].distance - s[j].distance < kStandPace * (s[j + 1].time - s[j].time)) ++j;
        if (s[j].time - s[i].time >= minSeconds) out.push_back({s[i].time, s[j].time});
        i = std::max(j, i + 1);
    }
    return out;
}

std::optional<double> offsetByStandstills(const std::vector<Standstill>& video, const std::vector<TimeSpan>& track,
                                          double from, double to) {
    if (video.empty() || track.empty() || to < from) return std::nullopt;
    auto common = [&](double offset) {
        double sum = 0;
        for (const Standstill& v : video) {
            const double a = offset + v.first / 30.0, b = offset + (v.last + 1) / 30.0;
            for (const TimeSpan& t : track) sum += std::max(0.0, std::min(b, t.to) - std::max(a, t.from));
        }
        return sum;
    };
    // A tenth of a second is three frames; the plateau's middle is then found
    // to that step (the stands of the track and the picture differ in length).
    constexpr double kStep = 0.1;
    double best = 0;
    std::vector<double> at;
    for (double o = from; o <= to + 1e-9; o += kStep) {
        const double c = common(o);
        if (c > best + 1e-6) {
            best = c;
            at.assign(1, o);
        } else if (c > 0 && std::abs(c - best) <= 1e-6) {
            at.push_back(o);
        }
    }
    if (best <= 0) return std::nullopt;
    // The middle of the best offsets next to the first of them.
    size_t end = 0;
    while (end + 1 < at.size() && at[end + 1] - at[end] < 1.5 * kStep) ++end;
    return (at.front() + at[end]) / 2;
}

}  // namespace ts::motion
