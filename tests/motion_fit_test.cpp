// The speed fitted to a motion shape: the scale from marks and from a known
// speed, the exact distance at every mark, and the refusals of bad marks; and
// each frame's motion from flows measured over steps of several frames.
// Shapes are made here, frame by frame, so that the truth is known exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "gps/speed_fit.h"
#include "motion/distance_marks.h"
#include "motion/motion_profile.h"
#include "motion/motion_shape.h"
#include "motion/speed_from_motion.h"
#include "motion/stand_alignment.h"
#include "test_support.h"

using namespace ts;
using namespace ts::motion;

namespace {

// A shape whose relative speed is `kmh` / `scale` (so that `scale` is the
// true scale), standing where kmh is 0 for a second or more.
MotionShape shapeOf(const std::vector<double>& kmh, double scale) {
    MotionShape s;
    const int n = int(kmh.size());
    s.rate.resize(size_t(n));
    for (int i = 0; i < n; ++i) s.rate[size_t(i)] = kmh[size_t(i)] / 108.0 / scale;
    for (int i = 0; i < n;) {
        int j = i;
        while (j < n && kmh[size_t(j)] == 0) ++j;
        if (j - i >= kMinStandstillFrames) s.standstills.push_back({i, j - 1});
        i = std::max(j, i + 1);
    }
    s.travelled.assign(size_t(n), 0);
    for (int i = 1; i < n; ++i) s.travelled[size_t(i)] = s.travelled[size_t(i) - 1] + s.rate[size_t(i)];
    return s;
}

// Stand 2 s, up to 60 km/h, down to a stand of 3 s, up to 90, down, stand.
std::vector<double> twoRuns() {
    std::vector<double> v;
    auto ramp = [&](double a, double b, int frames) {
        for (int i = 0; i < frames; ++i) v.push_back(a + (b - a) * i / frames);
    };
    ramp(0, 0, 60);
    ramp(0, 60, 300);
    ramp(60, 60, 300);
    ramp(60, 0, 300);
    ramp(0, 0, 90);
    ramp(0, 90, 400);
    ramp(90, 0, 400);
    ramp(0, 0, 60);
    return v;
}

double metresBetween(const std::vector<double>& kmh, int a, int b) {
    double m = 0;
    for (int i = a + 1; i <= b; ++i) m += kmh[size_t(i)] / 108.0;
    return m;
}

}  // namespace

TEST(MotionFit, MarksScaleTheShapeAndEveryMarkIsMet) {
    const std::vector<double> truth = twoRuns();
    const MotionShape shape = shapeOf(truth, 0.37);
    SpeedRequest req;
    // Marks at the middle of each stand, as station distances give them.
    req.marks = {{30, 1000}, {1005, 1000 + metresBetween(truth, 30, 1005)}};
    req.marks.push_back({1880, req.marks[1].metres + metresBetween(truth, 1005, 1880)});
    const SpeedResult r = fitSpeed(shape, req);
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.kmh.size(), truth.size());
    for (size_t i = 0; i < truth.size(); ++i) ASSERT_NEAR(r.kmh[i], truth[i], 1e-6) << "frame " << i;
    ASSERT_EQ(r.pairs.size(), 2u);
    EXPECT_NEAR(r.pairs[0].oneScale, r.pairs[0].marked, 1e-6);
    EXPECT_NEAR(r.shapeError, 0, 1e-9);
    // The rows hold the speed within their tolerance and the crawl where it stands.
    EXPECT_LE(r.largestRowError, r.tolerance + 0.5);
    EXPECT_EQ(gps::recordedSpeedAt(r.rows, 10), 1);
    EXPECT_NEAR(gps::recordedSpeedAt(r.rows, 500), 60, 1.01);
}

TEST(MotionFit, EachStretchTakesItsOwnScaleAndKeepsItsDistance) {
    // The shape measured 10 % low after the middle stand (another camera
    // height, say): the marks put it right on both sides.
    std::vector<double> truth = twoRuns(), seen = truth;
    for (size_t i = 1005; i < seen.size(); ++i) seen[i] *= 0.9;
    const MotionShape shape = shapeOf(seen, 1);
    SpeedRequest req;
    req.marks = {{30, 0}, {1005, metresBetween(truth, 30, 1005)}};
    req.marks.push_back({1880, req.marks[1].metres + metresBetween(truth, 1005, 1880)});
    const SpeedResult r = fitSpeed(shape, req);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_NEAR(metresBetween(r.kmh, 30, 1005), req.marks[1].metres - req.marks[0].metres, 1e-6);
    EXPECT_NEAR(metresBetween(r.kmh, 1005, 1880), req.marks[2].metres - req.marks[1].metres, 1e-6);
    EXPECT_NEAR(r.kmh[700], truth[700], 0.01);
    EXPECT_NEAR(r.kmh[1500], truth[1500], 0.01);
    // One scale for both misses each pair by about 5 %: the summary's error.
    EXPECT_GT(r.shapeError, 0.03);
    EXPECT_LT(r.shapeError, 0.08);
}

TEST(MotionFit, AFlowThatGrowsFasterThanTheSpeedIsTakenBackByThePowerTheMarksAgreeOn) {
    // The flow's size grows as the speed to the power 1 / 0.94 (short at a
    // crawl, long at speed). Three stretches run differently (a slow one, a
    // fast one, one between): only one power makes them agree on one scale.
    std::vector<double> truth;
    for (double top : {15.0, 110.0, 55.0}) {
        for (int i = 0; i < 60; ++i) truth.push_back(0);
        for (int i = 0; i < 300; ++i) truth.push_back(top * std::min(1.0, (i + 1) / 90.0));
        for (int i = 0; i < 600; ++i) truth.push_back(top);
        for (int i = 0; i < 300; ++i) truth.push_back(top * (1 - i / 300.0));
    }
    for (int i = 0; i < 60; ++i) truth.push_back(0);
    std::vector<double> seen = truth;
    for (double& v : seen) v = 40 * std::pow(v / 40, 1 / 0.94);
    const MotionShape shape = shapeOf(seen, 1);
    // A mark in the middle of each stand, 1260 frames apart.
    const auto marksAtStands = [](const std::vector<double>& kmh) {
        std::vector<DistanceMark> marks = {{30, 0}};
        for (int m = 1; m <= 3; ++m) {
            const int at = 30 + 1260 * m;
            marks.push_back({at, marks.back().metres + metresBetween(kmh, marks.back().frame, at)});
        }
        return marks;
    };
    SpeedRequest req;
    req.marks = marksAtStands(truth);
    const SpeedResult r = fitSpeed(shape, req);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_NEAR(r.flowExponent, 0.94, 0.0051);
    for (size_t i = 0; i < truth.size(); ++i) ASSERT_NEAR(r.kmh[i], truth[i], 0.02 * truth[i] + 0.05) << "frame " << i;
    EXPECT_LT(r.shapeError, 0.002);

    // Stretches that run alike cannot tell a power: the flow is taken as it is.
    std::vector<double> alike;
    for (int k = 0; k < 3; ++k) alike.insert(alike.end(), truth.begin() + 1260, truth.begin() + 2520);
    alike.insert(alike.end(), 60, 0.0);
    const MotionShape alikeShape = shapeOf(alike, 1);
    SpeedRequest same;
    same.marks = marksAtStands(alike);
    const SpeedResult s = fitSpeed(alikeShape, same);
    ASSERT_TRUE(s.ok()) << s.error;
    EXPECT_EQ(s.flowExponent, 1);
    // Two marks leave nothing to choose it by.
    same.marks.resize(2);
    EXPECT_EQ(fitSpeed(shape, same).flowExponent, 1);
}

TEST(MotionFit, OneKnownSpeedScalesTheWholeVideo) {
    const std::vector<double> truth = twoRuns();
    const MotionShape shape = shapeOf(truth, 2.5);
    SpeedRequest req;
    req.known = KnownSpeed{500, truth[500]};
    const SpeedResult r = fitSpeed(shape, req);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_NEAR(r.kmh[1500], truth[1500], 1e-6);
    req.known = KnownSpeed{1000, 40};  // in the middle stand
    const SpeedResult still = fitSpeed(shape, req);
    EXPECT_NE(still.error.find("standstill"), std::string::npos) << still.error;
    EXPECT_TRUE(still.rows.empty());
}

TEST(MotionFit, BadMarksAreRefusedNamingTheMark) {
    const std::vector<double> truth = twoRuns();
    const MotionShape shape = shapeOf(truth, 1);
    auto refusal = [&](std::vector<DistanceMark> marks) {
        SpeedRequest req;
        req.marks = std::move(marks);
        const SpeedResult r = fitSpeed(shape, req);
        EXPECT_TRUE(r.rows.empty());
        return r.error;
    };
    EXPECT_NE(refusal({{30, 0}, {1005, 800}, {900, 1500}}).find("mark 3 (frame 900, 1500 m) is out of order"),
              std::string::npos);
    EXPECT_NE(refusal({{30, 0}, {1005, 800}, {1880, 700}}).find("mark 3 (frame 1880, 700 m) gives a negative"),
              std::string::npos);
    // Both in the middle stand, yet 50 m apart.
    EXPECT_NE(refusal({{30, 0}, {970, 800}, {1000, 850}}).find("lie on one standstill"), std::string::npos);
    // 1500 frames of running cannot be 100 km.
    const std::string fast = refusal({{30, 0}, {1880, 100000}});
    EXPECT_NE(fast.find("km/h at frame"), std::string::npos) << fast;
    EXPECT_NE(fast.find("mark 1 (frame 30"), std::string::npos) << fast;
    EXPECT_NE(refusal({{30, 0}, {99999, 800}}).find("outside the video"), std::string::npos);
    EXPECT_NE(refusal({{30, 0}}).find("at least two distance marks"), std::string::npos);
    EXPECT_NE(fitSpeed(shapeOf(std::vector<double>(300, 0.0), 1), SpeedRequest{{{0, 0}, {200, 50}}, {}, 1, 1})
                  .error.find("no motion"),
              std::string::npos);
}

TEST(MotionFit, StationsGiveMarksAtTheirStopsAndMarkFilesAreRead) {
    std::vector<StationData> st(4);
    st[0] = {0, "A", 100, 160, 0, 0, 0, 50000};
    st[1] = {1, "B", 400, 420, 0, 0, 0, 0};  // passed: no mark
    st[2] = {0, "C", 900, 1000, 0, 0, 0, 42050};
    st[3] = {2, "D", 1500, 1560, 0, 0, 0, 0};
    const auto marks = marksFromStations(st);
    ASSERT_EQ(marks.size(), 3u);
    EXPECT_EQ(marks[1].frame, 950);
    EXPECT_DOUBLE_EQ(marks[1].metres, 500);
    EXPECT_DOUBLE_EQ(marks[2].metres, 920.5);

    const auto parsed = parseMarks("; km posts\r\n120,3400\r\n\r\n900, 3500.5\r\n#\r\n5,1\r\n");
    ASSERT_EQ(parsed.size(), 2u);
    EXPECT_EQ(parsed[1].frame, 900);
    EXPECT_DOUBLE_EQ(parsed[1].metres, 3500.5);
    try {
        parseMarks("120,3400\n900;3500\n");
        ADD_FAILURE() << "a line without a comma was taken";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
    }
    EXPECT_THROW(parseMarks("12x,30\n"), std::runtime_error);
}

TEST(MotionCache, KeptWhileTheVideoKeepsItsSizeAndTime) {
    test::TempDir dir;
    const std::string video = dir.write("video/line.mp4", std::string(1000, 'v'));
    MotionProfile p;
    p.frames.resize(50);
    p.frames[7].down[3] = 1.25f;
    p.frames[9].moving = 0.5f;
    ASSERT_TRUE(writeCache(video, p));
    auto back = readCache(video);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 50);
    EXPECT_FLOAT_EQ(back->frames[7].down[3], 1.25f);
    EXPECT_FLOAT_EQ(back->frames[9].moving, 0.5f);
    // Another video of the same name: a new time, or a new size.
    namespace fs = std::filesystem;
    fs::last_write_time(video, fs::last_write_time(video) + std::chrono::seconds(5));
    EXPECT_FALSE(readCache(video));
    ASSERT_TRUE(writeCache(video, p));
    ASSERT_TRUE(readCache(video));
    std::ofstream(video, std::ios::app) << "more";
    EXPECT_FALSE(readCache(video));
    // A cut-off cache is no cache.
    ASSERT_TRUE(writeCache(video, p));
    fs::resize_file(cachePath(video), fs::file_size(cachePath(video)) - 4);
    EXPECT_FALSE(readCache(video));
}

namespace {

MotionStep stepOf(int from, int to, float down, float moving) {
    MotionStep s{from, to, {}};
    s.motion.down.fill(down);
    s.motion.moving = moving;
    return s;
}

}  // namespace

TEST(MotionSteps, FramesTakeTheirStepOrTheLineBetweenTwoMiddles) {
    // Steps of one frame: each frame its own step's motion, frame 0 the first.
    std::vector<MotionStep> one;
    for (int i = 1; i < 5; ++i) one.push_back(stepOf(i - 1, i, float(i), float(i) / 10));
    const MotionProfile p = motionOfFrames(one, 5);
    ASSERT_EQ(p.size(), 5);
    EXPECT_FLOAT_EQ(p.frames[0].down[0], 1);
    for (int i = 1; i < 5; ++i) {
        EXPECT_FLOAT_EQ(p.frames[size_t(i)].down[kBands - 1], float(i)) << i;
        EXPECT_FLOAT_EQ(p.frames[size_t(i)].moving, float(i) / 10) << i;
    }
    // A stand measured in one step of four frames (middle 2), then one-frame
    // steps (middles 4.5 and 5.5); a frame's motion stands half a frame before it.
    const std::vector<MotionStep> mixed{stepOf(0, 4, 0.1f, 0.1f), stepOf(4, 5, 1, 1), stepOf(5, 6, 2, 2)};
    const MotionProfile q = motionOfFrames(mixed, 8);
    ASSERT_EQ(q.size(), 8);
    for (int i = 0; i <= 2; ++i) EXPECT_FLOAT_EQ(q.frames[size_t(i)].down[0], 0.1f) << i;
    EXPECT_NEAR(q.frames[3].down[0], 0.1 + 0.9 * 0.2, 1e-6);
    EXPECT_NEAR(q.frames[4].moving, 0.1 + 0.9 * 0.6, 1e-6);
    EXPECT_FLOAT_EQ(q.frames[5].down[0], 1);
    EXPECT_FLOAT_EQ(q.frames[6].down[0], 2);
    EXPECT_FLOAT_EQ(q.frames[7].down[0], 2);  // past the last step's middle it holds
}

TEST(MotionSteps, ABandWithNoSayTakesItsNeighboursAndNoStepsNoMotion) {
    MotionStep a = stepOf(0, 2, 1, 1), b = stepOf(2, 4, 3, 3);
    a.motion.down[2] = std::nanf("");
    b.motion.down[5] = std::nanf("");
    a.motion.down[7] = b.motion.down[7] = std::nanf("");
    const MotionProfile p = motionOfFrames({a, b}, 4);
    EXPECT_FLOAT_EQ(p.frames[2].down[0], 1.5f);  // at 1.5, a quarter of the way from middle 1 to 3
    EXPECT_FLOAT_EQ(p.frames[2].down[2], 3);
    EXPECT_FLOAT_EQ(p.frames[2].down[5], 1);
    EXPECT_TRUE(std::isnan(p.frames[2].down[7]));
    EXPECT_TRUE(std::isnan(p.frames[0].down[2]));  // before the first middle: the first step's, NaN
    const MotionProfile none = motionOfFrames({}, 3);
    ASSERT_EQ(none.size(), 3);
    EXPECT_FLOAT_EQ(none.frames[1].moving, 0);
}

namespace {

double rowOfBand(int b) { return bandMiddleRow(b); }

// A frame of a train running at relative speed `rate` over flat ground whose
// vanishing row is `horizon`, with the whole picture moved down by `pitch`:
// the far scenery (well above the horizon) moves by the pitch alone.
FrameMotion groundFrame(double rate, double horizon, double pitch = 0) {
    FrameMotion m;
    for (int b = 0; b < kBands; ++b) {
        const double dy = rowOfBand(b) - horizon;
        if (dy > 0)
            m.down[size_t(b)] = float(rate * dy * dy + pitch);
        else
            m.down[size_t(b)] = dy < -10 ? float(pitch) : std::nanf("");
    }
    m.moving = 2;
    return m;
}

}  // namespace

TEST(MotionShapeFromFlow, AJoltOfThePictureMovesTheVanishingRowWithIt) {
    // 70 km/h on level ground; for 40 frames (shorter than the vanishing
    // row's pooling) the picture stands 8 rows lower, as when a change of
    // gradient comes into view, jumping there and back in one frame each.
    const double rate = 6.5e-4, horizon = 70;
    MotionProfile p;
    for (int i = 0; i < 400; ++i) {
        const bool low = i >= 150 && i < 190;
        const double jolt = i == 150 ? 8 : i == 190 ? -8 : 0;
        p.frames.push_back(groundFrame(rate, horizon + (low ? 8 : 0), jolt));
    }
    const MotionShape s = motionShape(p);
    EXPECT_NEAR(s.horizon, horizon, 1);
    EXPECT_TRUE(s.standstills.empty());
    for (int i = 100; i < 250; ++i) EXPECT_NEAR(s.rate[size_t(i)], rate, 0.02 * rate) << "frame " << i;
    // The row the speed is measured about follows the jump at once, both ways.
    ASSERT_EQ(s.vanishingRow.size(), p.frames.size());
    for (int i = 100; i < 250; ++i) {
        const bool low = i >= 150 && i < 190;
        EXPECT_NEAR(s.vanishingRow[size_t(i)], horizon + (low ? 8 : 0), 0.5) << "frame " << i;
    }
}

TEST(MotionShapeFromFlow, TheRailsGiveTheVanishingRowAndTheirJumpThePitch) {
    // The rails are seen throughout. At frame 150 the whole picture drops 20
    // rows and stays there; at frame 300 the far scenery alone shows a jump
    // (a lamp, a portal's edge), which the rails, standing still, overrule.
    const double rate = 6.5e-4;
    MotionProfile p;
    for (int i = 0; i < 450; ++i) {
        const double horizon = i < 150 ? 70 : 90;
        FrameMotion m = groundFrame(rate, horizon, i == 150 ? 20 : 0);
        m.railsRow = float(horizon);
        if (i == 300) {
            for (int b = 0; b < kBands; ++b)
                if (rowOfBand(b) < horizon - 10) m.down[size_t(b)] = -6;
        }
        p.frames.push_back(m);
    }
    const MotionShape s = motionShape(p);
    for (int i = 100; i < 400; ++i) {
        EXPECT_NEAR(s.vanishingRow[size_t(i)], i < 150 ? 70 : 90, 1e-6) << "frame " << i;
        if (std::abs(i - 150) > 4) {
            EXPECT_NEAR(s.rate[size_t(i)], rate, 0.01 * rate) << "frame " << i;
        }
    }
}

TEST(MotionShapeFromFlow, FramesWithoutASayAreBridgedNotStopped) {
    // Frames 200-203 show no ground at all (the picture gone dark), 204 the
    // ground running up the picture (a tunnel's mouth filling the view).
    const double rate = 6.5e-4;
    MotionProfile p;
    for (int i = 0; i < 400; ++i) p.frames.push_back(groundFrame(rate, 70));
    for (int i = 200; i < 204; ++i) {
        p.frames[size_t(i)].down.fill(std::nanf(""));
        p.frames[size_t(i)].moving = 0;
    }
    for (int b = 0; b < kBands; ++b) p.frames[204].down[size_t(b)] = rowOfBand(b) > 70 ? -3.0f : std::nanf("");
    const MotionShape s = motionShape(p);
    EXPECT_TRUE(s.standstills.empty());
    for (int i = 190; i < 215; ++i) EXPECT_NEAR(s.rate[size_t(i)], rate, 0.01 * rate) << "frame " << i;
}

TEST(StandAlignment, TheTracksStandsPutFrameZeroOnTheTrack) {
    // The video stands at frames 0-209, 1500-1799 and 3000-3239; the track
    // (ten fixes a second) shows them 12.4 s later, each a second shorter at
    // both ends (the receiver's wander circle).
    gps::RidePath path;
    double d = 0;
    for (int k = 0; k <= 1400; ++k) {
        const double t = k / 10.0, video = (t - 12.4) * 30;
        const bool stands =
            (video >= 30 && video < 180) || (video >= 1530 && video < 1770) || (video >= 3030 && video < 3210);
        if (!stands) d += 1;
        gps::PathSample s;
        s.time = t;
        s.distance = d;
        path.samples.push_back(s);
    }
    const auto stands = trackStandstills(path);
    ASSERT_EQ(stands.size(), 3u);
    EXPECT_NEAR(stands[1].from, 63.3, 1e-6);
    EXPECT_NEAR(stands[1].to, 71.3, 1e-6);
    const std::vector<Standstill> video = {{0, 209}, {1500, 1799}, {3000, 3239}};
    const auto offset = offsetByStandstills(video, stands, -30, 60);
    ASSERT_TRUE(offset);
    EXPECT_NEAR(*offset, 12.4, 0.2);
    // Stands that cannot meet within the range give no offset.
    EXPECT_FALSE(offsetByStandstills(video, {{500, 510}}, -30, 60));
    EXPECT_FALSE(offsetByStandstills({}, stands, -30, 60));
}
