// The drive observer on a ride worked out by hand: the run's state is set
// step by step as a driver would make it, and the report must come out as
// computed on paper from the score's formula.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "report/drive_observer.h"
#include "run.h"

using namespace ts;

namespace {

// One frame of line per 1/30 s step while the train moves; a 100 ms step
// after every third. Speeds change by at most 0.12 km/h a step (1 m/s²), so
// that comfort costs nothing unless a test means it to.
class Ride {
public:
    Ride() {
        r.lineName = "Hand Line";
        r.maxSpeed = 120;
        r.brakeNotchCount = 8;
        auto station = [&](const char* name, int kind, int32_t from, int32_t to, int32_t departure) {
            StationData s;
            s.name = name;
            s.kind = kind;
            s.stopFrom = from;
            s.stopTo = to;
            s.departureTime = departure;
            r.stationTable.push_back(s);
        };
        station("甲", 0, 90, 110, 300);     // leave at 10 s
        station("乙", 0, 1200, 1220, 0);    // to stop at, run through
        station("丙", 0, 2000, 2020, 0);    // stop mark at frame 2013
        r.trainPosition = 100;
    }

    // Steps until `done`, moving toward `kmh`.
    void driveUntil(double kmh, const std::function<bool()>& done) {
        while (!done()) {
            const double now = double(r.speed) / 10000.0;
            step(now < kmh ? std::min(kmh, now + 0.12) : std::max(kmh, now - 0.12));
        }
    }
    void driveTo(double kmh, int32_t position) {
        driveUntil(kmh, [&] { return r.trainPosition >= position; });
    }
    // Brakes evenly to rest exactly at `position`.
    void stopAt(int32_t position) {
        const double start = double(r.speed) / 10000.0;
        const int32_t from = r.trainPosition;
        while (r.trainPosition < position)
            step(start * double(position - r.trainPosition - 1) / double(position - from));
    }
    void standFor(int steps) {
        for (int i = 0; i < steps; ++i) step(0);
    }

    std::function<void(Run&)> beforeStep = [](Run&) {};
    Run r;
    DriveObserver observer;

private:
    void step(double kmh) {
        if (r.speed != 0) ++r.trainPosition;
        r.speed = std::llround(kmh * 10000);
        ++r.clockTicks;
        r.stopDistance = (2013.0L - r.trainPosition) * 100;
        beforeStep(r);
        observer.afterSimulationStep(r);
        if (++steps_ % 3 == 0) observer.afterPresentationStep(r);
    }
    int steps_ = 0;
};

}  // namespace

TEST(DriveObserver, HandWorkedRide) {
    Ride ride;
    ride.beforeStep = [](ts::Run& r) {
        const int32_t p = r.trainPosition;
        r.activeSpeedLimit = p >= 600 && p < 830 ? 40 : 0;
        // An alarm answered after two seconds, then one the protection brakes for.
        r.atsBellRinging = (p >= 900 && p < 960) || (p >= 1000 && p < 1040);
        r.atsConfirmed = p >= 960 && p < 1000;
        r.safetyEmergencyBrake = p >= 1040 && p < 1050;
    };
    ride.standFor(899);                 // starts on tick 900: 20 s after the departure time
    ride.driveTo(47, 1700);             // 47 km/h through the 40 limit and past 乙
    ride.stopAt(2010);                  // 3 m short of 丙's mark, braking at 1.3 m/s²
    ride.standFor(90);
    const DriveReport rep = ride.observer.report();

    ASSERT_EQ(rep.stations.size(), 3u);
    const StationVisit& first = rep.stations[0];
    EXPECT_TRUE(first.origin);
    ASSERT_TRUE(first.departureDelaySeconds().has_value());
    EXPECT_DOUBLE_EQ(*first.departureDelaySeconds(), 20.0);
    EXPECT_TRUE(rep.stations[1].passed);
    EXPECT_FALSE(rep.stations[1].stopped);
    const StationVisit& last = rep.stations[2];
    EXPECT_TRUE(last.stopped);
    EXPECT_TRUE(last.inRange);
    EXPECT_DOUBLE_EQ(last.stopErrorMetres, 3.0);

    // 230 frames at 47 km/h, one frame a step: 230 × 47 / 3.6 / 30 = 100.09 m.
    ASSERT_EQ(rep.overspeeds.size(), 1u);
    const Overspeed& o = rep.overspeeds[0];
    EXPECT_EQ(o.against, LimitKind::SpeedLimit);
    EXPECT_EQ(o.limitKmh, 40);
    EXPECT_DOUBLE_EQ(o.peakOverKmh, 7.0);
    EXPECT_NEAR(o.metres, 230 * 47 / 3.6 / 30, 1e-9);
    EXPECT_EQ(o.fromPosition, 599);
    EXPECT_EQ(o.toPosition, 829);

    std::vector<SafetyKind> kinds;
    for (const auto& e : rep.safety) kinds.push_back(e.kind);
    ASSERT_EQ(kinds, (std::vector<SafetyKind>{SafetyKind::ProtectionAlarm, SafetyKind::ProtectionAlarm,
                                               SafetyKind::ProtectionEmergency}));
    EXPECT_TRUE(rep.safety[0].confirmed);
    EXPECT_NEAR(rep.safety[0].confirmSeconds, 2.0, 0.1);
    EXPECT_FALSE(rep.safety[1].confirmed) << "braked before it was answered";

    EXPECT_LT(rep.maxDecelerationMs2, 1.5);
    EXPECT_LT(rep.maxJerkMs3, 3.0);
    // 2 (20 s late) + 7 (7 km/h over) + 5 (alarm not confirmed) + 10 (emergency
    // brake) + 15 (ran through 乙) + 2 (3.0 m from the mark: 3.0 − 0.5, rounded down).
    EXPECT_DOUBLE_EQ(rep.score, 100 - 41);
    EXPECT_EQ(rep.verdict, "Fair driving: most points lost for ran through 乙 without stopping.");
}

TEST(DriveObserver, AHardStopAndAnOverrunCostWhatTheFormulaSays) {
    Ride ride;
    ride.standFor(9);                   // leaves early: 9 ticks, departure due at 300
    ride.driveTo(60, 1965);
    ride.stopAt(2025);                  // 60 km/h to rest in 2 s: 8.3 m/s², beyond the platform
    const DriveReport rep = ride.observer.report();
    const StationVisit& last = rep.stations[2];
    EXPECT_TRUE(last.stopped);
    EXPECT_FALSE(last.inRange) << "frame 2025 is past the stop range 2000–2020";
    EXPECT_DOUBLE_EQ(last.stopErrorMetres, -12.0) << "an overrun is negative";
    EXPECT_GT(rep.maxDecelerationMs2, 1.5);
    // 5 (left early) + 15 (ran through 乙) + 10 (outside the platform) + 5 (hard braking)
    // + 3 (jerk: from 0 to −8.3 m/s² and back within two seconds each).
    EXPECT_DOUBLE_EQ(rep.score, 100 - 38);
}
