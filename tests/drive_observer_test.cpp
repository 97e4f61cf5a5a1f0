// The drive observer on a ride worked out by hand: the run's state is set
// step by step as a driver would make it, and the report must come out as
// computed on paper from the score's formula.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "events/release_hint.h"
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
        station("甲", 0, 90, 110, 300);   // leave at 10 s
        station("乙", 0, 1200, 1220, 0);  // to stop at, run through
        station("丙", 0, 2000, 2020, 0);  // the middle of its range at frame 2010
        // The recording ran at 108 km/h: a metre a frame.
        r.speedUnitTable.push_back({0, 5000, 108, 108, {}});
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
    ride.standFor(899);      // starts on tick 900: 20 s after the departure time
    ride.driveTo(47, 1700);  // 47 km/h through the 40 limit and past 乙
    ride.stopAt(2007);       // 3 m short of the middle of 丙's range, braking at 1.3 m/s²
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
    // No melody played at 甲, and 乙 was run through: the run's stop distance
    // does not count down to 丙, so the distance is the one along the line to
    // the middle of the stop range (a metre a frame).
    EXPECT_NEAR(last.stopErrorMetres, 3.0, 1e-3);

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
    // 7 (7 km/h over) + 5 (alarm not confirmed) + 10 (emergency brake) + 15 (ran
    // through 乙) + 2 (3.0 m from the mark: 3.0 − 0.5, rounded down). Leaving 甲
    // 20 s late costs nothing: the station the run starts at is the start and
    // is not judged.
    EXPECT_DOUBLE_EQ(rep.score, 100 - 39);
    EXPECT_EQ(rep.verdict, "Fair driving: most points lost for ran through 乙 without stopping.");
}

TEST(DriveObserver, AHardStopAndAnOverrunCostWhatTheFormulaSays) {
    Ride ride;
    ride.standFor(9);  // leaves the start early (not judged): 9 ticks, departure due at 300
    ride.driveTo(60, 1965);
    ride.stopAt(2025);  // 60 km/h to rest in 2 s: 8.3 m/s², beyond the platform
    const DriveReport rep = ride.observer.report();
    const StationVisit& last = rep.stations[2];
    EXPECT_TRUE(last.stopped);
    EXPECT_FALSE(last.inRange) << "frame 2025 is past the stop range 2000–2020";
    EXPECT_NEAR(last.stopErrorMetres, -15.0, 1e-3) << "an overrun is negative";
    EXPECT_GT(rep.maxDecelerationMs2, 1.5);
    // 15 (ran through 乙) + 10 (outside the platform) + 5 (hard braking) + 3 (jerk:
    // from 0 to −8.3 m/s² and back within two seconds each).
    EXPECT_DOUBLE_EQ(rep.score, 100 - 33);
}

namespace {

// 甲's melody plays while the train stands there: from then on the run's stop
// distance counts down to 乙's mark at frame 1213 (and, once 乙's own melody
// has played, adds the 800 m to the next stop).
void countDownToTheSecondStop(Ride& ride) {
    ride.r.stationTable[1].nextStopDistance = 80000;
    ride.standFor(30);
    ride.r.stationDepartureSoundPlayed[0] = 1;
    ride.standFor(30);
    ride.beforeStep = [](Run& r) {
        r.stopDistance = (1213.0L - r.trainPosition) * 100 + (r.stationDepartureSoundPlayed[1] ? 80000 : 0);
    };
}

}  // namespace

TEST(DriveObserver, TheStopIsWhereTheTrainStoodWithTheDoorsOpen) {
    // Short of the platform first (1195, 18 m from the mark), a creep to
    // 1210 where the doors open, then a shuffle on to 1212 with them open:
    // the stop is the rest before the doors opened.
    Ride ride;
    countDownToTheSecondStop(ride);
    ride.driveTo(30, 1150);
    ride.stopAt(1195);
    ride.standFor(30);
    EXPECT_FALSE(ride.observer.report().stations[1].inRange);
    ride.driveUntil(2, [&] { return ride.r.trainPosition >= 1205; });
    ride.stopAt(1210);
    ride.r.doorsOpen = 1;
    ride.standFor(30);
    ride.driveUntil(1, [&] { return ride.r.trainPosition >= 1211; });
    ride.stopAt(1212);
    ride.standFor(30);
    const StationVisit v = ride.observer.report().stations[1];  // report() is a copy
    EXPECT_TRUE(v.stopped);
    EXPECT_TRUE(v.inRange);
    EXPECT_FALSE(v.passed);
    EXPECT_DOUBLE_EQ(v.stopErrorMetres, 3.0) << "1213 − 1210";
    EXPECT_TRUE(v.doorsOpenedAt.has_value());
}

TEST(DriveObserver, ALateTrainIsJudgedByWhereItStoodAndSeparatelyByItsLateness) {
    // Past the departure time the doors open and the melody plays as soon as
    // the train is below half a km/h, before it is quite at rest; the melody
    // adds the next stretch to the stop distance. The train then stands at
    // 1211, 2 m from the mark, and leaves 30 s after it was due.
    Ride ride;
    ride.r.stationTable[1].departureTime = 60;
    countDownToTheSecondStop(ride);
    ride.driveTo(10, 1100);
    ride.driveUntil(0.3, [&] { return ride.r.trainPosition >= 1208; });
    ride.r.doorsOpen = 1;
    ride.r.stationDepartureSoundPlayed[1] = 1;
    ride.stopAt(1211);
    ride.standFor(60);
    ride.r.doorsOpen = 0;
    const int32_t leaving = ride.r.clockTicks;
    ride.driveTo(30, 1400);
    const DriveReport rep = ride.observer.report();
    const StationVisit& v = rep.stations[1];
    EXPECT_TRUE(v.stopped);
    EXPECT_TRUE(v.inRange);
    EXPECT_FALSE(v.passed) << "it stopped: not \"ran through\"";
    EXPECT_DOUBLE_EQ(v.stopErrorMetres, 2.0) << "the 800 m the melody added are not the stop's";
    ASSERT_TRUE(v.departedAt.has_value());
    EXPECT_EQ(*v.departedAt, leaving + 1) << "the clock of the step it started moving in";
    // 2.0 m from the mark: 1 point; left (leaving − 60) / 30 s late: a point per 10 s.
    const double late = double(leaving + 1 - 60) / 30;
    for (const Deduction& d : rep.deductions) EXPECT_EQ(d.what.find("ran through 乙"), std::string::npos) << d.what;
    double lost = 0;
    for (const Deduction& d : rep.deductions) lost += d.points;
    EXPECT_DOUBLE_EQ(lost, 1 + std::min(10.0, std::floor(late / 10)));
}

TEST(DriveObserver, AJumpIsAFreshStartAndTheSkippedStretchIsAGap) {
    Ride ride;
    ride.standFor(30);
    ride.r.trainPosition = 2010;  // Move > 丙
    ride.standFor(60);
    ride.driveTo(30, 2200);  // 丙's departure time (0) is long past: not judged
    const DriveReport rep = ride.observer.report();
    EXPECT_TRUE(rep.stations[0].origin);
    EXPECT_TRUE(rep.stations[1].skipped);
    EXPECT_FALSE(rep.stations[1].passed) << "a jump past a stop does not run through it";
    EXPECT_TRUE(rep.stations[2].origin);
    EXPECT_TRUE(rep.stations[2].departedAt.has_value());
    EXPECT_TRUE(rep.deductions.empty()) << rep.deductions.front().what;
    int gaps = 0;
    for (size_t i = 1; i < rep.chart.size(); ++i) gaps += rep.chart[i].gapBefore;
    EXPECT_EQ(gaps, 1);
    // No stop was driven to: the figures, no verdict.
    EXPECT_FALSE(rep.scored);
    EXPECT_EQ(rep.stopsJudged, 0);
    EXPECT_EQ(rep.stopsNotReached, 1);
    EXPECT_EQ(rep.verdict, "No verdict: the run reached no stop.");
}

TEST(DriveObserver, ARunClosedEarlyIsScoredOnThePartDriven) {
    Ride ride;
    countDownToTheSecondStop(ride);
    ride.driveTo(10, 1150);
    ride.stopAt(1213);
    ride.standFor(30);
    const DriveReport rep = ride.observer.report();
    EXPECT_TRUE(rep.scored);
    EXPECT_EQ(rep.stopsJudged, 1);
    EXPECT_EQ(rep.stopsNotReached, 1);
    EXPECT_FALSE(rep.stations[2].stopped);
    EXPECT_FALSE(rep.stations[2].passed);
    EXPECT_EQ(rep.verdict, "Excellent driving. The score covers the part driven: 1 of 2 stops, 1 not reached.");
}

TEST(DriveObserver, TheEmergencyBrakesCauseIsTheOneTheReportRecords) {
    Ride ride;
    ride.standFor(30);
    ride.r.ebDeviceIdleTicks = 650;  // the vigilance bell rings
    ride.standFor(3);
    ride.r.ebDeviceIdleTicks = 0;  // ... and the device brakes, clearing its count
    ride.r.safetyEmergencyBrake = 1;
    ride.standFor(3);
    EXPECT_TRUE(ride.observer.emergencyByVigilance());
    EXPECT_EQ(releaseHint(ride.r, ride.observer.emergencyByVigilance()), ReleaseHint::VigilanceBrake);
    ride.r.safetyEmergencyBrake = 0;  // reset
    ride.standFor(3);
    EXPECT_FALSE(ride.observer.emergencyByVigilance());
    ride.r.safetyEmergencyBrake = 1;  // the train protection's, with the device quiet
    ride.standFor(3);
    EXPECT_FALSE(ride.observer.emergencyByVigilance());
    EXPECT_EQ(releaseHint(ride.r, ride.observer.emergencyByVigilance()), ReleaseHint::SafetyBrake);
    const DriveReport rep = ride.observer.report();
    std::vector<SafetyKind> kinds;
    for (const auto& e : rep.safety) kinds.push_back(e.kind);
    EXPECT_EQ(kinds, (std::vector<SafetyKind>{SafetyKind::VigilanceEmergency, SafetyKind::ProtectionEmergency}));
}
