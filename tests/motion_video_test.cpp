// The speed found in the picture of videos whose true motion is known: the
// two demo lines (their generator's [SpeedUnit] rows are the truth) and the
// irregular test run (its truth.csv), each scaled only by the distances
// between its stations. Also the command that writes the result.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "gps/import.h"
#include "gps/speed_fit.h"
#include "motion/distance_marks.h"
#include "motion/motion_profile.h"
#include "motion/motion_shape.h"
#include "motion/speed_from_motion.h"
#include "test_support.h"

using namespace ts;
using namespace ts::motion;
namespace fs = std::filesystem;

namespace {

struct Truth {
    std::vector<double> kmh, metres;  // per frame; metres from frame 0
};

// The generator's speed from its rows: linear within each, the last row
// holding a frame deciding it, distance summed frame by frame as it does.
Truth truthFromRows(const std::vector<Speed_UnitData>& rows, int frames) {
    Truth t;
    for (int f = 0; f < frames; ++f) {
        double v = 5;
        for (const Speed_UnitData& r : rows)
            if (r.fromPosition <= f && f <= r.toPosition && r.toPosition != r.fromPosition)
                v = r.fromSpeed +
                    double(r.toSpeed - r.fromSpeed) * (f - r.fromPosition) / (r.toPosition - r.fromPosition);
        t.kmh.push_back(v);
    }
    t.metres.assign(size_t(frames), 0);
    for (int f = 1; f < frames; ++f) t.metres[size_t(f)] = t.metres[size_t(f) - 1] + t.kmh[size_t(f) - 1] / 108.0;
    return t;
}

Truth truthFromCsv(const std::string& path) {
    Truth t;
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::istringstream l(line);
        std::string f, v, m;
        std::getline(l, f, ',');
        std::getline(l, v, ',');
        std::getline(l, m, ',');
        t.kmh.push_back(std::stod(v));
        t.metres.push_back(std::stod(m));
    }
    return t;
}

// True standstills: 0 km/h for a second or more.
std::vector<Standstill> trueStandstills(const Truth& t) {
    std::vector<Standstill> out;
    const int n = int(t.kmh.size());
    for (int i = 0; i < n;) {
        int j = i;
        while (j < n && t.kmh[size_t(j)] == 0) ++j;
        if (j - i >= kMinStandstillFrames) out.push_back({i, j - 1});
        i = std::max(j, i + 1);
    }
    return out;
}

struct Analysed {
    RouteData route;
    MotionShape shape;
    SpeedResult fit;
};

// The route and its video copied into a folder of their own (the cache is
// written beside the video), analysed and fitted to the stations' distances.
Analysed analyse(const fs::path& folder, const std::string& code, const test::TempDir& dir) {
    Analysed a;
    fs::copy_file(folder / (code + "_line.txt"), dir.path() / (code + "_line.txt"));
    fs::create_directories(dir.path() / "video");
    fs::copy_file(folder / "video" / (code + ".mp4"), dir.path() / "video" / (code + ".mp4"));
    a.route = gps::readRouteForImport((dir.path() / (code + "_line.txt")).string());
    std::string why;
    const auto profile = loadOrAnalyse((dir.path() / "video" / (code + ".mp4")).string(), {}, &why);
    EXPECT_TRUE(profile) << why;
    if (!profile) return a;
    a.shape = motionShape(*profile);
    SpeedRequest req;
    req.marks = routeMarks(a.route).marks;
    a.fit = fitSpeed(a.shape, req);
    EXPECT_TRUE(a.fit.ok()) << a.fit.error;
    return a;
}

void checkAgainstTruth(const Analysed& a, const Truth& t, const std::string& name) {
    ASSERT_TRUE(a.fit.ok());
    const int n = int(t.kmh.size());
    ASSERT_EQ(int(a.fit.kmh.size()), n) << name;
    // Stops: every true standstill found within 15 frames at both ends, and no
    // stop found where the train runs faster than 5 km/h.
    const std::vector<Standstill> truth = trueStandstills(t);
    for (const Standstill& s : truth) {
        const auto found = std::find_if(a.shape.standstills.begin(), a.shape.standstills.end(),
                                        [&](const Standstill& f) { return f.last >= s.first && f.first <= s.last; });
        ASSERT_NE(found, a.shape.standstills.end()) << name << ": the stand at frames " << s.first << "-" << s.last;
        EXPECT_NEAR(found->first, s.first, 15) << name << ": the stand at frames " << s.first << "-" << s.last;
        EXPECT_NEAR(found->last, s.last, 15) << name << ": the stand at frames " << s.first << "-" << s.last;
    }
    for (const Standstill& f : a.shape.standstills)
        for (int i = f.first; i <= f.last; ++i)
            ASSERT_LE(t.kmh[size_t(i)], 5.0) << name << ": a stop found at frames " << f.first << "-" << f.last;
    // The speed: within 2 km/h on nine running frames in ten, within 5 km/h
    // everywhere but the first and last second of each stop.
    int running = 0, within2 = 0, worstFrame = -1;
    double worst = 0;
    for (int i = 0; i < n; ++i) {
        const double err = std::abs(a.fit.kmh[size_t(i)] - t.kmh[size_t(i)]);
        if (t.kmh[size_t(i)] > 0) {
            ++running;
            if (err <= 2) ++within2;
        }
        bool nearStop = false;
        for (const Standstill& s : truth)
            nearStop = nearStop || std::abs(i - s.first) <= 30 || std::abs(i - s.last) <= 30;
        if (!nearStop && err > worst) worst = err, worstFrame = i;
    }
    const double share = double(within2) / running;
    std::printf("%s: %.1f %% of running frames within 2 km/h, worst %.2f km/h at frame %d, %zu stops found\n",
                name.c_str(), 100 * share, worst, worstFrame, a.shape.standstills.size());
    EXPECT_GE(share, 0.90) << name;
    EXPECT_LE(worst, 5.0) << name << " at frame " << worstFrame << ": truth " << t.kmh[size_t(worstFrame)]
                          << ", fitted " << a.fit.kmh[size_t(worstFrame)];
    // Distance the run takes from the rows, from the first station to each
    // other, against the truth.
    const auto marks = routeMarks(a.route).marks;
    ASSERT_GE(marks.size(), 2u);
    double rowsMetres = 0;
    size_t next = 1;
    for (int i = marks[0].frame + 1; i < n && next < marks.size(); ++i) {
        rowsMetres += gps::recordedSpeedAt(a.fit.rows, i) / 108.0;
        if (i == marks[next].frame) {
            const double want = t.metres[size_t(i)] - t.metres[size_t(marks[0].frame)];
            EXPECT_NEAR(rowsMetres, want, 0.01 * want) << name << ": at the station of frame " << i;
            ++next;
        }
    }
}

void checkDemoLine(const std::string& code) {
    test::TempDir dir;
    const Analysed a = analyse(TRAINSIM_DEMO, code, dir);
    const Truth t = truthFromRows(a.route.speedUnitTable, int(a.fit.kmh.size()));
    checkAgainstTruth(a, t, "line " + code);
}

}  // namespace

TEST(SpeedFromVideo, KonanLineFromItsStationsDistances) { checkDemoLine("789"); }

TEST(SpeedFromVideo, YamadaLineFromItsStationsDistances) { checkDemoLine("40"); }

TEST(SpeedFromVideo, IrregularRunWithStandsCrawlAndFastStretch) {
    test::TempDir dir;
    const Analysed a = analyse(TRAINSIM_MOTION_TEST, "MT", dir);
    checkAgainstTruth(a, truthFromCsv(std::string(TRAINSIM_MOTION_TEST) + "/truth.csv"), "irregular run");
}

namespace {

struct CommandRun {
    int status = -1;
    std::string out;
};

CommandRun trainsim(const std::string& args) {
    CommandRun r;
    FILE* p = popen(("'" TRAINSIM_BIN "' speed-from-video " + args + " 2>&1").c_str(), "r");
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    const int s = pclose(p);
    r.status = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
    return r;
}

std::string fileText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(SpeedFromVideo, CommandWritesRowsOnceAndRefusesBadMarks) {
    test::TempDir dir;
    const fs::path src = TRAINSIM_MOTION_TEST;
    fs::copy_file(src / "MT_line.txt", dir.path() / "MT_line.txt");
    fs::create_directories(dir.path() / "video");
    fs::copy_file(src / "video" / "MT.mp4", dir.path() / "video" / "MT.mp4");
    const std::string data = "--data '" + dir.path().string() + "' ";
    const std::string before = fileText(dir.path() / "MT_line.txt");

    const CommandRun dry = trainsim(data + "MT --dry-run");
    ASSERT_EQ(dry.status, 0) << dry.out;
    EXPECT_NE(dry.out.find("motion analysed"), std::string::npos) << dry.out;
    EXPECT_NE(dry.out.find("stops found: 4"), std::string::npos) << dry.out;
    EXPECT_NE(dry.out.find("marks 1-2"), std::string::npos) << dry.out;
    // Its stretches run unlike each other (a crawl, a fast run): the marks
    // choose the power the flow's size is taken to.
    EXPECT_NE(dry.out.find("raised to the power 0.9"), std::string::npos) << dry.out;
    EXPECT_NE(dry.out.find("dry run: nothing was written"), std::string::npos) << dry.out;
    EXPECT_EQ(fileText(dir.path() / "MT_line.txt"), before);
    EXPECT_TRUE(fs::exists(dir.path() / "video" / "MT.mp4.motion"));

    // Bad marks: named, nothing written.
    dir.write("marks.txt", "37,0\n1410,300\n1200,500\n");
    const CommandRun bad = trainsim(data + "MT --marks '" + (dir.path() / "marks.txt").string() + "'");
    EXPECT_EQ(bad.status, 1) << bad.out;
    EXPECT_NE(bad.out.find("mark 3 (frame 1200, 500 m) is out of order"), std::string::npos) << bad.out;
    EXPECT_NE(bad.out.find("nothing was written"), std::string::npos) << bad.out;
    EXPECT_EQ(fileText(dir.path() / "MT_line.txt"), before);

    const CommandRun done = trainsim(data + "MT");
    ASSERT_EQ(done.status, 0) << done.out;
    EXPECT_NE(done.out.find("motion from the cache"), std::string::npos) << done.out;
    EXPECT_EQ(fileText(dir.path() / "MT_line.txt.bak"), before);
    const RouteData after = gps::readRouteForImport((dir.path() / "MT_line.txt").string());
    ASSERT_GE(after.speedUnitTable.size(), 5u);
    // The fast stretch runs at 100 km/h in truth.
    EXPECT_NEAR(gps::recordedSpeedAt(after.speedUnitTable, 1000), 100, 5);
}
