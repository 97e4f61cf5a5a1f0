// Watches a run after each of its two steps and gathers the drive report.
// It reads the run's state only: the run behaves the same with or without it.
#pragma once
#include <optional>
#include <utility>
#include <vector>

#include "report/drive_report.h"
#include "report/route_distance.h"
#include "run.h"

namespace ts {

class DriveObserver {
public:
    void afterSimulationStep(const Run& r);
    void afterPresentationStep(const Run& r);
    // The report so far, scored.
    DriveReport report() const;
    // The emergency brake holding now was applied by the vigilance device
    // (as the report records it), not by the train protection.
    bool emergencyByVigilance() const { return emergencyKind_ == SafetyKind::VigilanceEmergency; }

private:
    void begin(const Run& r);
    void restAt(const Run& r);
    std::optional<int> nearestStop(const Run& r) const;
    void leave(const Run& r);
    void watchLimits(const Run& r, double kmh, double metres);
    void watchDeparture(const Run& r);
    void watchStations(const Run& r, int32_t from, int32_t to);
    void watchSignals(const Run& r, int32_t from, int32_t to);
    void watchStopCounter(const Run& r);
    void jumped(const Run& r, int32_t from);
    double stopError(const Run& r, const StationVisit& v) const;
    std::optional<int> nextStop(int index) const;
    double km(int32_t frame) const { return distance_.metresAt(frame) / 1000.0; }
    int64_t nowMs() const { return ticks_ * 100 / 3; }

    bool begun_ = false;
    DriveReport report_;
    int64_t ticks_ = 0;  // simulation steps seen, 1/30 s each
    int32_t lastPosition_ = 0;
    double lastKmh_ = 0;
    bool moving_ = false;
    std::optional<int> restingAt_;                    // station visit the train stands at
    std::optional<std::pair<int, int32_t>> leaving_;  // station and clock of the last start from it
    std::optional<int> unjudgedDeparture_;            // a station jumped back to: its next departure is not judged
    // Stops judged where the train stood with the doors open: no later rest changes them.
    std::vector<bool> doorsJudged_;
    // The station whose stop mark the run's stop distance counts down to
    // (it starts at 0 at the origin and after a jump, and each departure
    // melody adds the stretch to the next stop), when known.
    std::optional<int> counterFor_;
    StationFlags departureSounds_{};
    RouteDistance distance_;
    bool gapNext_ = false;  // a jump since the last chart point
    // Limits in force and the overspeed open against each, by LimitKind.
    std::optional<size_t> open_[3];
    // Train protection and vigilance, as seen last.
    uint8_t bell_ = 0, emergency_ = 0, serviceBrake_ = 0;
    std::optional<SafetyKind> emergencyKind_;  // of the emergency brake holding now
    int32_t idleTicks_ = 0;
    int64_t bellSinceMs_ = 0;
    std::optional<size_t> ringing_;  // the alarm being rung
    // Comfort, over whole seconds.
    int64_t lastPresentationTicks_ = -1;
    double lastPresentationKmh_ = 0, lastAcceleration_ = 0;
    bool haveAcceleration_ = false;
    bool windowEmergency_ = false;
    std::vector<int32_t> lastSignalAspects_;
};

}  // namespace ts
