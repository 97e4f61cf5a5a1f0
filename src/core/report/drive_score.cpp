// The score of a drive. docs/drive-report.md gives the same table to drivers:
// keep the two alike.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "report/drive_report.h"
#include "text/our_text.h"

namespace ts {

namespace {

// `value` written with `format` ("%.1f").
std::string number(const char* format, double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

// limitName and safetyName as a deduction words them for people; those stay the JSON report's values.
std::string limitWords(LimitKind k) {
    switch (k) {
        case LimitKind::SpeedLimit: return trText("DriveReport", "speed limit");
        case LimitKind::SignalSpeed: return trText("DriveReport", "signal");
        case LimitKind::MaxSpeed: return trText("DriveReport", "train's top speed");
    }
    return {};
}

std::string safetyWords(SafetyKind k) {
    switch (k) {
        case SafetyKind::ProtectionAlarm: return trText("DriveReport", "train protection alarm");
        case SafetyKind::ProtectionEmergency: return trText("DriveReport", "emergency brake by the train protection");
        case SafetyKind::ServiceBrake: return trText("DriveReport", "service brake by the speed control");
        case SafetyKind::VigilanceEmergency: return trText("DriveReport", "emergency brake by the vigilance device");
        case SafetyKind::SignalPassedAtStop: return trText("DriveReport", "signal passed at stop");
    }
    return {};
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
        if (v.passed) take(withArgs(trText("DriveReport", "ran through %1 without stopping"), {v.name}), 15);
        if (v.stopped && !v.inRange)
            take(withArgs(trText("DriveReport", "stopped outside the platform at %1"), {v.name}), 10);
        if (v.stopped && v.inRange)
            take(withArgs(trText("DriveReport", "stopped %1 m from the mark at %2"),
                          {number("%.1f", std::fabs(v.stopErrorMetres)), v.name}),
                 std::min(5.0, std::floor(std::max(0.0, std::fabs(v.stopErrorMetres) - 0.5))));
    }
    for (const StationVisit& v : r.stations) {
        const auto delay = v.departureDelaySeconds();
        // The station the run starts at (or a jump goes to) is the start: its
        // departure is not judged either.
        if (!delay || v.kind == 1 || v.origin) continue;
        if (*delay < 0)
            take(withArgs(trText("DriveReport", "left %1 s early from %2"), {number("%.0f", -*delay), v.name}), 5);
        else
            take(withArgs(trText("DriveReport", "left %1 s late from %2"), {number("%.0f", *delay), v.name}),
                 std::min(10.0, std::floor(*delay / 10)));
    }
    for (const Overspeed& o : r.overspeeds)
        take(withArgs(trText("DriveReport", "%1 km/h over the %2 of %3 km/h"),
                      {number("%.1f", o.peakOverKmh), limitWords(o.against), std::to_string(o.limitKmh)}),
             std::min(15.0, std::ceil(o.peakOverKmh)));
    for (const SafetyEvent& e : r.safety) {
        switch (e.kind) {
            case SafetyKind::ProtectionAlarm:
                if (!e.confirmed) take(trText("DriveReport", "train protection alarm not confirmed"), 5);
                break;
            case SafetyKind::ProtectionEmergency: take(safetyWords(e.kind), 10); break;
            case SafetyKind::ServiceBrake: take(safetyWords(e.kind), 5); break;
            case SafetyKind::VigilanceEmergency: take(safetyWords(e.kind), 10); break;
            case SafetyKind::SignalPassedAtStop:
                take(withArgs(trText("DriveReport", "passed signal %1 at stop"), {e.signal}), 30);
                break;
        }
    }
    if (r.maxDecelerationMs2 > 1.5)
        take(withArgs(trText("DriveReport", "braked hard (%1 m/s²)"), {number("%.2f", r.maxDecelerationMs2)}), 5);
    if (r.maxJerkMs3 > 3.0)
        take(withArgs(trText("DriveReport", "jerky handling (%1 m/s³)"), {number("%.1f", r.maxJerkMs3)}), 3);

    double total = 0;
    for (const auto& d : r.deductions) total += d.points;
    r.score = std::clamp(100.0 - total, 0.0, 100.0);
    // A run that reached no stop has only its figures.
    r.scored = r.stopsJudged > 0;
    if (!r.scored) {
        r.verdict = trText("DriveReport", "No verdict: the run reached no stop.");
        return;
    }
    const auto worst = std::max_element(r.deductions.begin(), r.deductions.end(),
                                        [](const Deduction& a, const Deduction& b) { return a.points < b.points; });
    const std::string grade = r.score >= 90   ? trText("DriveReport", "Excellent driving")
                              : r.score >= 75 ? trText("DriveReport", "Good driving")
                              : r.score >= 50 ? trText("DriveReport", "Fair driving")
                                              : trText("DriveReport", "Poor driving");
    r.verdict = worst != r.deductions.end()
                    ? withArgs(trText("DriveReport", "%1: most points lost for %2."), {grade, worst->what})
                    : withArgs(trText("DriveReport", "%1."), {grade});
    if (r.stopsNotReached > 0)
        r.verdict +=
            withArgs(trText("DriveReport", " The score covers the part driven: %1 of %2 stops, %3 not reached."),
                     {std::to_string(r.stopsJudged), std::to_string(r.stopsJudged + r.stopsNotReached),
                      std::to_string(r.stopsNotReached)});
}

}  // namespace ts
