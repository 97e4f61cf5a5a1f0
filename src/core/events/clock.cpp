#include "events/clock.h"
#include "panel_names.h"

#include <cmath>

namespace ts {

namespace {

std::string twoDigits(int v) { return v < 10 && v >= 0 ? "0" + std::to_string(v) : std::to_string(v); }

struct TimeOfDay {
    int hours, minutes, seconds;
};

// Hours are not reduced modulo 24; ticks are truncated to the second.
TimeOfDay split(int32_t t) {
    int s = t / 30;
    const int hours = s / 3600;
    s -= hours * 3600;
    const int minutes = s / 60;
    return {hours, minutes, s - minutes * 60};
}

}  // namespace

std::string clockText(int32_t t) {
    const TimeOfDay d = split(t);
    return twoDigits(d.hours) + ":" + twoDigits(d.minutes) + ":" + twoDigits(d.seconds);
}

void timecalc(const TrainData& t, const Motion& m, PanelModel& p) {
    p.label(cn::Label3) = clockText(m.clockTicks);
    if (t.clockX <= 0 || t.clockY <= 0) return;
    const auto [hours, minutes, seconds] = split(m.clockTicks);
    const double rad = M_PI / 180;
    auto end = [](double angle, int length) {
        return std::make_pair(25 + int(std::nearbyint(std::sin(angle) * length)),
                              25 + int(std::nearbyint(-std::cos(angle) * length)));
    };
    const int L = t.clockHandLength;
    p.clock.drawn = true;
    p.clock.hour = end((hours * 30 + minutes * 0.5) * rad, int(std::nearbyint(L * 0.6)));
    p.clock.minute = end((minutes * 6 + seconds * 0.1) * rad, L);
    p.clock.second = end(seconds * 6 * rad, L);
}

}  // namespace ts
