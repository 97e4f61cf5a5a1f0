#include "events/clock.h"

#include <cmath>

namespace ts {

namespace {
std::string twoDigits(int v) { return v < 10 && v >= 0 ? "0" + std::to_string(v) : std::to_string(v); }
}  // namespace

std::string clockText(int32_t t) {
    int s = t / 30;
    const int hours = s / 3600;
    s -= hours * 3600;
    const int minutes = s / 60;
    const int seconds = s - minutes * 60;
    return twoDigits(hours) + ":" + twoDigits(minutes) + ":" + twoDigits(seconds);
}

void timecalc(const Run& r, PanelModel& p) {
    p.labels["Label3"] = clockText(r.clockTicks);
    if (r.clockX <= 0 || r.clockY <= 0) return;
    int s = r.clockTicks / 30;
    const int hours = s / 3600;
    s -= hours * 3600;
    const int minutes = s / 60;
    const int seconds = s - minutes * 60;
    const double rad = M_PI / 180;
    auto end = [](double angle, int length) {
        return std::make_pair(25 + int(std::nearbyint(std::sin(angle) * length)),
                              25 + int(std::nearbyint(-std::cos(angle) * length)));
    };
    const int L = r.clockHandLength;
    p.clock.drawn = true;
    p.clock.hour = end((hours * 30 + minutes * 0.5) * rad, int(std::nearbyint(L * 0.6)));
    p.clock.minute = end((minutes * 6 + seconds * 0.1) * rad, L);
    p.clock.second = end(seconds * 6 * rad, L);
}

}  // namespace ts
