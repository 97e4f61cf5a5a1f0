// The GPS importer on synthetic rides whose motion is known: speed per frame,
// the [SpeedUnit] fit, jitter, stops, segments, both alignments, gradients
// and stations, against hand-worked figures.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "gps/import.h"
#include "gps_rides.h"
#include "gpx_file.h"

using namespace ts;
using namespace ts::gps;
using test::RidePlan;

namespace {

struct Worked {
    Ride ride;
    RidePath path;
    FrameProfile frames;
};

Worked work(const RidePlan& plan, const Alignment& align, int frames, double maxGap = 5) {
    Worked w;
    w.ride = joinSegments(readGpxText(test::rideGpx(plan)));
    checkCoverage(w.ride, align, frames, maxGap);
    w.path = measureRide(w.ride);
    w.frames = profileFrames(w.path, align, frames);
    return w;
}

double kmh(const FrameProfile& f, int frame) { return f.speedKmh[size_t(frame)]; }

// 5 m/s, then 0.5 m/s2 for 20 s (to 15 m/s = 54 km/h), then steady.
double accelerating(double t) {
    if (t < 30) return 5 * t;
    if (t < 50) return 150 + 5 * (t - 30) + 0.25 * (t - 30) * (t - 30);
    return 150 + 100 + 100 + 15 * (t - 50);
}

}  // namespace

TEST(GpsSpeed, ConstantSpeedGivesOneRowAtThatSpeed) {
    RidePlan s;
    s.distance = [](double t) { return 20 * t; };  // 72 km/h
    s.seconds = 120;
    const Worked w = work(s, alignByOffset(10), 3000);
    for (int f = 0; f < 3000; f += 97) EXPECT_NEAR(kmh(w.frames, f), 72, 0.01) << f;
    EXPECT_NEAR(w.frames.distance[0], 200, 0.05);  // frame 0 is 10 s in
    EXPECT_NEAR(w.frames.distance[2999], 200 + 20 * 2999 / 30.0, 0.05);
    const SpeedFit fit = fitSpeedRows(w.frames.speedKmh, 1, 1);
    ASSERT_EQ(fit.rows.size(), 1u);
    EXPECT_EQ(fit.rows[0].fromPosition, 0);
    EXPECT_EQ(fit.rows[0].toPosition, 2999);
    EXPECT_EQ(fit.rows[0].fromSpeed, 72);
    EXPECT_EQ(fit.rows[0].toSpeed, 72);
}

TEST(GpsSpeed, AccelerationIsFollowedAndFitInThreeRows) {
    RidePlan s;
    s.distance = accelerating;
    s.seconds = 90;
    const Worked w = work(s, alignByOffset(10), 2400);  // 10 s to 90 s
    // 18 km/h until 30 s, 18 + 1.8 km/h per second to 54 km/h at 50 s: the
    // curve has its knots at the two bends, so it is right at them too.
    auto truth = [](double t) { return t < 30 ? 18 : t < 50 ? 18 + 1.8 * (t - 30) : 54; };
    double worst = 0;
    for (int f = 0; f < 2400; ++f) worst = std::max(worst, std::abs(kmh(w.frames, f) - truth(10 + f / 30.0)));
    EXPECT_LT(worst, 0.2);
    const SpeedFit fit = fitSpeedRows(w.frames.speedKmh, 1, 1);
    EXPECT_EQ(fit.rows.size(), 3u);
    EXPECT_LE(fit.largestError, 1.0);
}

TEST(GpsSpeed, ARideThatEndsMovingMovesToItsLastFix) {
    // A crawl at 5 km/h to the end of the track: the last fixes are inside
    // the standstill circle, yet the train has not stopped.
    RidePlan s;
    s.distance = [](double t) { return 1.4 * t; };
    s.seconds = 60;
    const Worked w = work(s, alignByOffset(0), 60 * 30);
    EXPECT_NEAR(w.path.samples.back().distance, 84, 0.5);
    EXPECT_NEAR(kmh(w.frames, 60 * 30 - 1), 5.04, 0.2);
    // A train standing at the end stays where it stood.
    s.distance = [](double t) { return std::min(1.4 * t, 50.0); };
    s.jitterMetres = 1;
    const Worked still = work(s, alignByOffset(0), 60 * 30);
    EXPECT_NEAR(still.path.samples.back().distance, 50, 4);
    EXPECT_LT(kmh(still.frames, 60 * 30 - 1), 1.0);
}

TEST(GpsSpeed, JitterStandingStillIsNoMotion) {
    // 10 m/s for 30 s, braking at 0.5 m/s2 to rest at 50 s, standing 60 s,
    // then off again at 0.5 m/s2. The fixes wander 2 m (sd) all the time.
    RidePlan s;
    s.distance = [](double t) {
        if (t < 30) return 10 * t;
        if (t < 50) return 300 + 10 * (t - 30) - 0.25 * (t - 30) * (t - 30);
        if (t < 110) return 400.0;
        return 400 + 0.25 * (t - 110) * (t - 110);
    };
    s.seconds = 150;
    s.jitterMetres = 2;
    const Worked w = work(s, alignByOffset(0), 140 * 30);
    // Well inside the stand the distance does not grow and the speed is nil.
    const double standStart = w.frames.distance[55 * 30], standEnd = w.frames.distance[105 * 30];
    // (Summing the jitter fix to fix would make some 100 m of it.)
    EXPECT_LT(standEnd - standStart, 3.0);
    for (int f = 58 * 30; f < 105 * 30; ++f) ASSERT_LT(kmh(w.frames, f), 1.0) << f;
    // Where it ran, the distance stays right to within the jitter.
    EXPECT_NEAR(w.frames.distance[25 * 30], 250, 4);
    EXPECT_NEAR(w.frames.distance[139 * 30] - standEnd, 0.25 * 29 * 29, 6);
    // Never 0 km/h in the rows: the stand keeps the crawl speed.
    const SpeedFit fit = fitSpeedRows(w.frames.speedKmh, 1, 1);
    for (const auto& r : fit.rows) {
        EXPECT_GE(r.fromSpeed, 1);
        EXPECT_GE(r.toSpeed, 1);
    }
    EXPECT_EQ(recordedSpeedAt(fit.rows, 80 * 30), 1);
}

TEST(GpsSpeed, FixesThrownOffAreDroppedAndDoNotAddDistance) {
    RidePlan s;
    s.distance = [](double t) { return 15 * t; };
    s.seconds = 60;
    std::string gpx = test::rideGpx(s);
    // Fix 20 thrown 300 m sideways, fix 40 thrown 400 m ahead along the line.
    auto move = [&](int index, double metres, double side) {
        size_t at = 0;
        for (int k = 0; k <= index; ++k) at = gpx.find("<trkpt", at + 1);
        const size_t end = gpx.find('>', at);
        double lat, lon;
        test::rideLatLon(metres, side, lat, lon);
        char b[128];
        std::snprintf(b, sizeof b, "<trkpt lat=\"%.8f\" lon=\"%.8f\"", lat, lon);
        gpx.replace(at, end - at, b);
    };
    move(20, 300, 300);
    move(40, 1000, 0);
    const Ride ride = joinSegments(readGpxText(gpx));
    const RidePath path = measureRide(ride);
    EXPECT_EQ(path.droppedFixes, 2);
    EXPECT_NEAR(path.length(), 900, 0.5);
}

TEST(GpsSpeed, ATrackOfNothingButJumpsIsRefused) {
    // Every fix 50 km from the one before: nothing a train could run.
    RidePlan s;
    s.distance = [](double t) { return 50000 * t; };
    s.seconds = 20;
    try {
        measureRide(joinSegments(readGpxText(test::rideGpx(s))));
        FAIL() << "accepted";
    } catch (const ImportError& e) {
        EXPECT_NE(std::string(e.what()).find("fixes are usable"), std::string::npos) << e.what();
        EXPECT_GT(e.line, 0);
    }
}

TEST(GpsSpeed, TwoSegmentsAreOneRide) {
    RidePlan one;
    one.distance = accelerating;
    one.seconds = 90;
    RidePlan two = one;
    two.segmentBreaks = {45};
    two.gaps = {{45, 47}};  // the logger paused for two fixes
    const Worked a = work(one, alignByOffset(5), 2400);
    const Worked b = work(two, alignByOffset(5), 2400);
    for (int f = 0; f < 2400; f += 10) {
        EXPECT_NEAR(b.frames.distance[size_t(f)], a.frames.distance[size_t(f)], 0.5) << f;
        EXPECT_NEAR(kmh(b.frames, f), kmh(a.frames, f), 1.0) << f;
    }
}

TEST(GpsAlignment, NegativeOffsetPutsFrameZeroBeforeTheFirstFix) {
    const Alignment a = alignByOffset(-2);
    EXPECT_DOUBLE_EQ(a.timeOf(60), 0);
    EXPECT_DOUBLE_EQ(a.timeOf(90), 1);
    RidePlan s;
    s.distance = [](double t) { return 10 * t; };
    s.seconds = 60;
    // The camera ran 2 s before the first fix: bridged at the first fix's speed.
    const Worked w = work(s, a, 900);
    EXPECT_NEAR(w.frames.distance[0], -20, 0.05);
    EXPECT_NEAR(w.frames.distance[60], 0, 0.05);
    EXPECT_NEAR(w.frames.distance[660], 200, 0.05);
    EXPECT_NEAR(kmh(w.frames, 0), 36, 0.01);
    EXPECT_NEAR(kmh(w.frames, 600), 36, 0.01);
    // Beyond the bridgeable gap the track is too short for the video.
    const Ride ride = joinSegments(readGpxText(test::rideGpx(s)));
    try {
        checkCoverage(ride, alignByOffset(-8), 900, 5);
        FAIL() << "a video starting 8 s before the track was taken";
    } catch (const ImportError& e) {
        EXPECT_NE(std::string(e.what()).find("shorter than the video"), std::string::npos) << e.what();
        EXPECT_EQ(e.line, ride.points.front().line);
    }
}

TEST(GpsAlignment, TwoSyncMarksCorrectADriftingFrameRate) {
    // The camera really took 29.7 frames a second: frame 0 at 10 s, frame 2970 at 110 s.
    RidePlan s;
    s.distance = [](double t) { return 20 * t; };
    s.seconds = 130;
    const Alignment a = alignBySync({0, 10}, {2970, 110});
    EXPECT_NEAR(a.secondsPerFrame, 1 / 29.7, 1e-12);
    EXPECT_NEAR(a.timeOf(1485), 60, 1e-9);
    const Worked w = work(s, a, 3000);
    // Played at 30 frames a second the view runs 30 / 29.7 faster than the train did.
    for (int f = 0; f < 3000; f += 111) EXPECT_NEAR(kmh(w.frames, f), 72 * 30 / 29.7, 0.01);
    EXPECT_NEAR(w.frames.distance[2970], 2200, 0.05);
    const SpeedFit fit = fitSpeedRows(w.frames.speedKmh, 1, 1);
    ASSERT_EQ(fit.rows.size(), 1u);
    EXPECT_EQ(fit.rows[0].fromSpeed, 73);
}

TEST(GpsAlignment, SyncMarksThatCannotBeAreRefused) {
    EXPECT_THROW(alignBySync({100, 5}, {100, 9}), ImportError);   // one frame
    EXPECT_THROW(alignBySync({100, 9}, {200, 5}), ImportError);   // backwards
    EXPECT_THROW(alignBySync({0, 0}, {3000, 400}), ImportError);  // 7.5 frames a second
    EXPECT_NO_THROW(alignBySync({0, 0}, {3000, 101}));
}

namespace {

// 20 m/s, braked at 1.4 m/s2 to 1.4 m/s at 43.3 s, off again at 1.2 m/s2 to
// 18 m/s at 57.1 s: speed in m/s, and its distance by a fine sum.
double stopSpeed(double t) {
    if (t < 30) return 20;
    if (t < 43.3) return 20 - 1.4 * (t - 30);
    if (t < 57.1) return 1.38 + 1.2 * (t - 43.3);
    return 17.94;
}

double stopDistance(double t) {
    double d = 0;
    for (double u = 0.005; u < t; u += 0.01) d += stopSpeed(u) * 0.01;
    return d;
}

}  // namespace

TEST(GpsSpeed, TheReceiversOwnSpeedsAreTakenWhenEveryFixHasOne) {
    std::mt19937 rng(5);
    std::normal_distribution<double> doppler(0, 0.1);
    std::vector<double> measured(101);
    for (double& v : measured) v = doppler(rng);
    RidePlan s;
    s.distance = stopDistance;
    s.seconds = 100;
    s.jitterMetres = 3;  // poor positions
    auto worst = [&](const Worked& w) {
        double e = 0;
        for (int f = 2 * 30; f < 98 * 30; ++f) e = std::max(e, std::abs(kmh(w.frames, f) - stopSpeed(f / 30.0) * 3.6));
        return e;
    };
    const Worked fromPositions = work(s, alignByOffset(0), 100 * 30);
    EXPECT_FALSE(fromPositions.path.receiverSpeeds);

    s.speed = [&](double t) { return std::max(0.0, stopSpeed(t) + measured[size_t(std::lround(t))]); };
    for (bool inExtensions : {false, true}) {
        s.speedInExtensions = inExtensions;
        const Worked w = work(s, alignByOffset(0), 100 * 30);
        EXPECT_TRUE(w.path.receiverSpeeds);
        EXPECT_LT(worst(w), 1.0) << (inExtensions ? "in <extensions>" : "GPX 1.0 <speed>");
        EXPECT_LT(worst(w), worst(fromPositions) / 2);
        // The distance still comes from the positions.
        EXPECT_NEAR(w.path.length(), stopDistance(100), 15);
    }

    // One fix without a speed, or with one that is no number: the positions decide.
    std::string text = test::rideGpx(s);
    const size_t at = text.find("<extensions>", text.size() / 2);
    ASSERT_NE(at, std::string::npos);
    text.replace(text.find("<gpxtpx:speed>", at) + 14, 4, "fast");
    const Ride ride = joinSegments(readGpxText(text));
    EXPECT_FALSE(measureRide(ride).receiverSpeeds);
}
