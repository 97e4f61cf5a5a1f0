// The score of a drive. docs/drive-report.md gives the same table to drivers:
// keep the two alike.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "report/drive_report.h"

namespace ts {

namespace {

std::string fmt(const char* f, double a, const std::string& s = {}) {
    char buf[200];
    std::snprintf(buf, sizeof buf, f, a, s.c_str());
    return buf;
}

}  // namespace

const char* limitName(LimitKind k) {
    switch (k) {
        case LimitKind::SpeedLimit: return "speed limit";
        case LimitKind::SignalSpeed: return "signal";
        case LimitKind::MaxSpeed: return "train's top speed";
    }
    return "";
}

const char* safetyName(SafetyKind k) {
    switch (k) {
        case SafetyKind::ProtectionAlarm: return "train protection alarm";
        case SafetyKind::ProtectionEmergency: return "emergency brake by the train protection";
        case SafetyKind::ServiceBrake: return "service brake by the speed control";
        case SafetyKind::VigilanceEmergency: return "emergency brake by the vigilance device";
        case SafetyKind::SignalPassedAtStop: return "signal passed at stop";
    }
    return "";
}

void scoreReport(DriveReport& r) {
    r.deductions.clear();
    auto take = [&](const std::string& what, double points) {
        if (points > 0) r.deductions.push_back({what, points});
    };
    r.stopsJudged = r.stopsNotReached = 0;
    for (const StationVisit& v : r.stations) {
        if (v.kind == 1 || v.origin) continue;
        if (v.passed || v.stopped)
            ++r.stopsJudged;
        else
            ++r.stopsNotReached;
        if (v.passed) take("ran through " + v.name + " without stopping", 15);
        if (v.stopped && !v.inRange) take("stopped outside the platform at " + v.name, 10);
        if (v.stopped && v.inRange)
            take(fmt("stopped %.1f m from the mark at %s", std::fabs(v.stopErrorMetres), v.name),
                 std::min(5.0, std::floor(std::max(0.0, std::fabs(v.stopErrorMetres) - 0.5))));
    }
    for (const StationVisit& v : r.stations) {
        const auto delay = v.departureDelaySeconds();
        // The station the run starts at (or a jump goes to) is the start: its
        // departure is not judged either.
        if (!delay || v.kind == 1 || v.origin) continue;
        if (*delay < 0)
            take(fmt("left %.0f s early from %s", -*delay, v.name), 5);
        else
            take(fmt("left %.0f s late from %s", *delay, v.name), std::min(10.0, std::floor(*delay / 10)));
    }
    for (const Overspeed& o : r.overspeeds)
        take(fmt("%.1f km/h over the ", o.peakOverKmh) + limitName(o.against) + " of " + std::to_string(o.limitKmh) +
                 " km/h",
             std::min(15.0, std::ceil(o.peakOverKmh)));
    for (const SafetyEvent& e : r.safety) {
        switch (e.kind) {
            case SafetyKind::ProtectionAlarm:
                if (!e.confirmed) take("train protection alarm not confirmed", 5);
                break;
            case SafetyKind::ProtectionEmergency: take(safetyName(e.kind), 10); break;
            case SafetyKind::ServiceBrake: take(safetyName(e.kind), 5); break;
            case SafetyKind::VigilanceEmergency: take(safetyName(e.kind), 10); break;
            case SafetyKind::SignalPassedAtStop: take("passed signal " + e.signal + " at stop", 30); break;
        }
    }
    if (r.maxDecelerationMs2 > 1.5) take(fmt("braked hard (%.2f m/s²)", r.maxDecelerationMs2), 5);
    if (r.maxJerkMs3 > 3.0) take(fmt("jerky handling (%.1f m/s³)", r.maxJerkMs3), 3);

    double total = 0;
    for (const auto& d : r.deductions) total += d.points;
    r.score = std::clamp(100.0 - total, 0.0, 100.0);
    // A run that reached no stop has only its figures.
    r.scored = r.stopsJudged > 0;
    if (!r.scored) {
        r.verdict = "No verdict: the run reached no stop.";
        return;
    }
    const auto worst = std::max_element(r.deductions.begin(), r.deductions.end(),
                                        [](const Deduction& a, const Deduction& b) { return a.points < b.points; });
    const char* grade = r.score >= 90 ? "Excellent" : r.score >= 75 ? "Good" : r.score >= 50 ? "Fair" : "Poor";
    r.verdict = std::string(grade) + " driving";
    if (worst != r.deductions.end()) r.verdict += ": most points lost for " + worst->what;
    r.verdict += ".";
    if (r.stopsNotReached > 0)
        r.verdict += " The score covers the part driven: " + std::to_string(r.stopsJudged) + " of " +
                     std::to_string(r.stopsJudged + r.stopsNotReached) + " stops, " +
                     std::to_string(r.stopsNotReached) + " not reached.";
}

}  // namespace ts
