// The demo's own recorded runs imported back from the GPS tracks the demo
// generator writes: the [SpeedUnit] rows against the generator's speed at
// every frame, the slopes over each of its sections, the stations' frames and
// their distances to the next stop.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "gps/import.h"
#include "gps_track.h"
#include "line.h"
#include "test_support.h"
#include "view.h"

using namespace ts;
namespace fs = std::filesystem;

namespace {

const std::string kDemo = TRAINSIM_DEMO;

// Imports a track into a copy of the line's route; returns what the run reads.
RouteData importLine(const demo::Line& l, const std::string& track, std::string& summary) {
    static test::TempDir dir;
    const fs::path route = dir.path() / (l.code + "_line.txt");
    fs::copy_file(fs::path(kDemo) / (l.code + "_line.txt"), route, fs::copy_options::overwrite_existing);
    const std::string cmd = "'" TRAINSIM_BIN "' import-gps --data '" + dir.path().string() + "' " + l.code + " '" +
                            track + "' --offset 3 --slope-window 100 --frames " + std::to_string(l.frames) + " 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) summary.append(buf, n);
    const int status = pclose(p);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << summary;
    return gps::readRouteForImport(route.string());
}

// The imported gradient at a frame, per mille (level between rows).
double importedGradient(const RouteData& r, int frame) {
    double g = 0;
    for (const SlopeRow& s : r.slopeTable)
        if (s.fromPosition <= frame && frame < s.toPosition) g = s.gradient / 10000.0;
    return g;
}

void checkLine(const demo::Line& l) {
    std::string summary;
    const RouteData r = importLine(l, kDemo + "/gps/" + l.code + "_ride.gpx", summary);
    const RouteData original = gps::readRouteForImport(kDemo + "/" + l.code + "_line.txt");
    // Speed: the rows against the generator's speed at every frame.
    double worst = 0;
    int worstFrame = 0, within1 = 0, within2 = 0;
    for (int f = 0; f < l.frames; ++f) {
        const double e = std::abs(gps::recordedSpeedAt(r.speedUnitTable, f) - demo::recordedSpeed(l, f));
        if (e > worst) worst = e, worstFrame = f;
        within1 += e <= 1;
        within2 += e <= 2;
    }
    std::printf(
        "%s: %zu speed rows, largest speed error %.2f km/h (frame %d), %.1f %% of frames within 1 km/h, "
        "%.1f %% within 2\n",
        l.code.c_str(), r.speedUnitTable.size(), worst, worstFrame, 100.0 * within1 / l.frames,
        100.0 * within2 / l.frames);
    // The track's noise wanders by metres over half a minute, which moves a
    // corner of the curve by a fraction of a second and a speed by a km/h or
    // two over a short spell of pulling or braking; and the rows are whole km/h.
    EXPECT_GE(within1, l.frames * 75 / 100) << summary;
    EXPECT_GE(within2, l.frames * 93 / 100) << summary;
    EXPECT_LE(worst, 5.0) << "frame " << worstFrame << "\n" << summary;

    // Slopes: the mean imported gradient over each of the generator's sections.
    auto gradientAt = [&](int frame) { return importedGradient(r, frame); };
    // The metres the recorded run covers between two frames.
    auto metres = [&](int from, int to) {
        double m = 0;
        for (int f = from; f < to; ++f) m += demo::recordedSpeed(l, f) / 3.6 / 30;
        return m;
    };
    double sumError = 0;
    for (const demo::Slope& s : l.slopes) {
        double sum = 0;
        for (int f = s.from; f < s.to; ++f) sum += gradientAt(f);
        const double mean = sum / (s.to - s.from);
        // What the track's height noise allows over the section: the standard
        // error of a straight line through its fixes (one a second, 0.3 m of
        // white noise and 0.3 m wandering), three times over, and never less
        // than the 1 per mille the sections are merged to.
        const double length = metres(s.from, s.to), fixes = (s.to - s.from) / 30.0;
        const double allowed = std::max(1.0, 3 * 1000 * 0.42 * std::sqrt(12 / fixes) / length);
        std::printf("%s: slope %.1f over %d-%d (%.0f m) imported as %.2f (allowed %.1f)\n", l.code.c_str(), s.gradient,
                    s.from, s.to, length, mean, allowed);
        EXPECT_NEAR(mean, s.gradient, allowed) << s.from << "-" << s.to;
        sumError += std::abs(mean - s.gradient);
    }
    // Taken together, the sections are within a per mille and a half.
    EXPECT_LE(sumError / double(l.slopes.size()), 1.5);

    // Stations: the same rows, moved by a few frames at most; distances within 1 %.
    ASSERT_EQ(r.stationTable.size(), original.stationTable.size()) << summary;
    for (size_t i = 0; i < r.stationTable.size(); ++i) {
        const StationData &a = r.stationTable[i], &b = original.stationTable[i];
        EXPECT_EQ(a.name, b.name);
        EXPECT_EQ(a.kind, b.kind);
        EXPECT_EQ(a.departureTime, b.departureTime);
        std::printf("%s: %s at %d (was %d), next stop %d cm (was %d)\n", l.code.c_str(), a.name.c_str(), a.stopFrom,
                    b.stopFrom, a.nextStopDistance, b.nextStopDistance);
        // 90 frames at the 5 km/h crawl through the demo's stations are 4 m: the track's noise.
        EXPECT_NEAR(a.stopFrom, b.stopFrom, 90) << a.name;
        EXPECT_NEAR(a.nextStopDistance, b.nextStopDistance, 0.01 * b.nextStopDistance) << a.name;
    }
    // The rest of the route is what it was.
    EXPECT_EQ(r.lineName, original.lineName);
    EXPECT_EQ(r.signalTable.size(), original.signalTable.size());
    EXPECT_EQ(r.soundDataFiles, original.soundDataFiles);
}

// The same run's track without any noise: the import must give the run back,
// which shows that what the noisy track loses is the noise's doing.
void checkExactLine(const demo::Line& l) {
    // The view lays out its name boards with fonts, which need the application.
    static int argc = 1;
    static char name[] = "demo_gps_test";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QGuiApplication(argc, argv);
    }
    test::TempDir dir;
    const std::string track = (dir.path() / "exact.gpx").string();
    {
        std::ofstream out(track, std::ios::binary);
        out << demo::gpsTrack(l, demo::ViewRenderer(l), 0);
    }
    std::string summary;
    const RouteData r = importLine(l, track, summary);
    const RouteData original = gps::readRouteForImport(kDemo + "/" + l.code + "_line.txt");
    double worst = 0;
    int worstFrame = 0;
    for (int f = 0; f < l.frames; ++f) {
        const double e = std::abs(gps::recordedSpeedAt(r.speedUnitTable, f) - demo::recordedSpeed(l, f));
        if (e > worst) worst = e, worstFrame = f;
    }
    // The rows keep within the 1 km/h tolerance of the measured speed, which
    // is within a tenth of a km/h or so of the run's.
    std::printf("%s exact: %zu speed rows, largest speed error %.2f km/h (frame %d)\n", l.code.c_str(),
                r.speedUnitTable.size(), worst, worstFrame);
    EXPECT_LE(worst, 1.25) << "frame " << worstFrame << "\n" << summary;
    EXPECT_EQ(r.speedUnitTable.size(), l.speed.size()) << summary;
    auto gradientAt = [&](int frame) { return importedGradient(r, frame); };
    for (const demo::Slope& s : l.slopes) {
        // Away from the section's ends, which the 5 m steps of height may move by a frame or two.
        double off = 0;
        for (int f = s.from + 15; f < s.to - 15; ++f) off = std::max(off, std::abs(gradientAt(f) - s.gradient));
        std::printf("%s exact: slope %.1f over %d-%d off by at most %.2f\n", l.code.c_str(), s.gradient, s.from, s.to,
                    off);
        // The 0.3 m the profile may stray from a straight piece before it is
        // cut lets a short gentle section run on into level track beside it.
        EXPECT_LE(off, 1.5) << s.from << "-" << s.to;
    }
    ASSERT_EQ(r.stationTable.size(), original.stationTable.size()) << summary;
    for (size_t i = 0; i < r.stationTable.size(); ++i) {
        const StationData &a = r.stationTable[i], &b = original.stationTable[i];
        std::printf("%s exact: %s at %d (was %d), next stop %d cm (was %d)\n", l.code.c_str(), a.name.c_str(),
                    a.stopFrom, b.stopFrom, a.nextStopDistance, b.nextStopDistance);
        EXPECT_NEAR(a.stopFrom, b.stopFrom, 3) << a.name;
        EXPECT_NEAR(a.nextStopDistance, b.nextStopDistance, 0.002 * b.nextStopDistance) << a.name;
    }
}

}  // namespace

TEST(DemoGpsImport, ExactTracksGiveTheRecordedRunsBack) {
    checkExactLine(demo::electricLine());
    checkExactLine(demo::dieselLine());
}

TEST(DemoGpsImport, KonanLineFromItsTrack) { checkLine(demo::electricLine()); }
TEST(DemoGpsImport, YamadaLineFromItsTrack) { checkLine(demo::dieselLine()); }
