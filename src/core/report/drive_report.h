// What a drive report holds: how each station went, every overspeed and
// safety event, comfort and time figures, and the score made from them.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ts {

struct StationVisit {
    int index = 0;
    std::string name;
    int kind = 0;                      // as in the route: 0 stop with doors, 1 pass, 2 stop without doors
    int32_t stopFrom = 0, stopTo = 0;  // the stop range, frames, for the chart's station marks
    double km = 0;                     // the middle of the stop range along the route
    bool origin = false;               // the run started here (or a jump went here): no stop to judge
    bool stopped = false;              // came to rest at it
    bool inRange = false;              // ... inside its stop range
    bool passed = false;               // a stop run through without stopping
    bool skipped = false;              // a jump went past it
    // Distance left to the stop mark where the train stood with the doors
    // open (or last stood before it left); an overrun is negative.
    double stopErrorMetres = 0;
    std::optional<int32_t> stoppedAt;  // clock, 1/30 s
    std::optional<int32_t> doorsOpenedAt;
    std::optional<int32_t> departedAt;
    int32_t departureTime = 0;  // as in the route, 1/30 s
    // Departure against the timetable in seconds (late positive), when it left.
    std::optional<double> departureDelaySeconds() const {
        if (!departedAt) return std::nullopt;
        return double(*departedAt - departureTime) / 30.0;
    }
};

enum class LimitKind { SpeedLimit, SignalSpeed, MaxSpeed };

struct Overspeed {
    LimitKind against = LimitKind::SpeedLimit;
    int limitKmh = 0;
    int32_t fromPosition = 0, toPosition = 0;
    int64_t fromMs = 0, toMs = 0;  // run time, from the first step
    double peakOverKmh = 0;
    double metres = 0;      // distance run while over
    int32_t fromClock = 0;  // the run's clock, 1/30 s
    double fromKm = 0;
};

enum class SafetyKind { ProtectionAlarm, ProtectionEmergency, ServiceBrake, VigilanceEmergency, SignalPassedAtStop };

struct SafetyEvent {
    SafetyKind kind = SafetyKind::ProtectionAlarm;
    int64_t atMs = 0;
    int32_t position = 0;
    bool confirmed = false;     // an alarm answered before it braked
    double confirmSeconds = 0;  // from the bell to the answer
    std::string signal;         // the signal's label, for a signal passed at stop
    int32_t clock = 0;          // the run's clock, 1/30 s
    double km = 0;
};

// A point of the speed-over-position chart, one per 100 ms step.
struct ChartPoint {
    int32_t position = 0;
    double speedKmh = 0, recordedKmh = 0;
    int speedLimitKmh = 0;   // 0 = none
    int signalKmh = 0;       // restriction of the signal ahead; 0 = none
    double km = 0;           // along the route
    bool gapBefore = false;  // the first point after a jump: not joined to the one before
};

struct Deduction {
    std::string what;
    double points = 0;
};

struct DriveReport {
    std::string trainCode, lineName;
    int maxSpeedKmh = 0;
    std::vector<StationVisit> stations;
    std::vector<Overspeed> overspeeds;
    std::vector<SafetyEvent> safety;
    std::vector<ChartPoint> chart;
    double maxDecelerationMs2 = 0;  // outside emergency braking
    double maxJerkMs3 = 0;
    double runningSeconds = 0, standingSeconds = 0;
    double metres = 0;
    bool endOfLine = false;  // the run ended past the end of the line
    bool moved() const { return metres > 0; }

    // Filled by scoreReport(). A run that reached no stop has no score.
    bool scored = true;
    int stopsJudged = 0, stopsNotReached = 0;
    double score = 100;
    std::vector<Deduction> deductions;
    std::string verdict;
};

// Applies the documented formula (docs/drive-report.md) to the figures.
void scoreReport(DriveReport& report);

// The report as one JSON object.
std::string reportJson(const DriveReport& report);

const char* limitName(LimitKind k);
const char* safetyName(SafetyKind k);

}  // namespace ts
