// The GPS import's work on a one-hour ride at one and ten fixes a second, and on a
// logger left running for hours while the train stands: the track read
// from its GPX text, the distance measured, the speed curve and its
// [SpeedUnit] rows fitted, the gradients cut. Counters give the rows written
// and the largest speed error against the ride's own speed.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

#include "../tests/gps_rides.h"
#include "gps/alignment.h"
#include "gps/frame_profile.h"
#include "gps/gradients.h"
#include "gps/ride.h"
#include "gps/speed_fit.h"
#include "gpx_file.h"

using namespace ts;
using namespace ts::gps;

namespace {

constexpr double kHour = 3600;

// Twelve stops, five minutes apart: off at 0.8 m/s2 to 25 m/s, running,
// braked at 0.7 m/s2 to a stand of 40 s. Speed in m/s, distance in m.
double speedAt(double t) {
    const double u = std::fmod(t, 300);
    if (u < 31.25) return 0.8 * u;
    if (u < 224.3) return 25;
    if (u < 260) return std::max(0.0, 25 - 0.7 * (u - 224.3));
    return 0;
}

double distanceAt(double t) {
    static std::vector<double> table;
    if (table.empty()) {
        table.push_back(0);
        for (double s = 0; s < kHour + 10; s += 0.01) table.push_back(table.back() + speedAt(s + 0.005) * 0.01);
    }
    return table[std::min(table.size() - 1, size_t(t / 0.01))];
}

// state.range(0): fixes a second.
void ImportOneHour(benchmark::State& state) {
    test::RidePlan plan;
    plan.every = 1.0 / double(state.range(0));
    plan.distance = distanceAt;
    plan.height = [](double d) { return 50 + 8 * std::sin(d / 2000) + 3 * std::sin(d / 530); };
    plan.seconds = kHour + 5;
    plan.jitterMetres = 1;
    const std::string gpx = test::rideGpx(plan);
    const int frames = int(kHour * kFramesPerSecond);
    const Alignment align = alignByOffset(2);
    SpeedFit fit;
    size_t slopes = 0;
    for (auto _ : state) {
        const Ride ride = joinSegments(readGpxText(gpx));
        const RidePath path = measureRide(ride);
        const FrameProfile profile = profileFrames(path, align, frames);
        fit = fitSpeedRows(profile.speedKmh, 1, 1);
        slopes = gradientSections(path, {}).size();
        benchmark::DoNotOptimize(slopes);
    }
    double worst = 0, worstAt = 0, within1 = 0, within2 = 0;
    for (int f = 0; f < frames; ++f) {
        const double e = std::abs(recordedSpeedAt(fit.rows, f) - std::max(1.0, speedAt(align.timeOf(f)) * 3.6));
        if (e > worst) worst = e, worstAt = align.timeOf(f);
        within1 += e <= 1, within2 += e <= 2;
    }
    state.counters["within_1_kmh_pct"] = 100 * within1 / frames;
    state.counters["within_2_kmh_pct"] = 100 * within2 / frames;
    state.counters["speed_rows"] = double(fit.rows.size());
    state.counters["tolerance_kmh"] = fit.tolerance;
    state.counters["largest_error_kmh"] = worst;
    state.counters["largest_error_at_s"] = worstAt;
    state.counters["slope_rows"] = double(slopes);
}
BENCHMARK(ImportOneHour)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(3);

// A logger left running at ten fixes a second while the train stands for
// state.range(0) minutes, then a minute's run: the work must grow with the
// fixes, not their square.
void StandingTrack(benchmark::State& state) {
    const double standing = double(state.range(0)) * 60;
    test::RidePlan plan;
    plan.every = 0.1;
    plan.distance = [standing](double t) { return t < standing ? 0.0 : 0.5 * 0.8 * (t - standing) * (t - standing); };
    plan.height = [](double d) { return 50 + d / 100; };
    plan.seconds = standing + 60;
    plan.jitterMetres = 1;
    const std::string gpx = test::rideGpx(plan);
    const int frames = int(plan.seconds * kFramesPerSecond);
    const Alignment align = alignByOffset(0);
    size_t rows = 0;
    for (auto _ : state) {
        const Ride ride = joinSegments(readGpxText(gpx));
        const RidePath path = measureRide(ride);
        const FrameProfile profile = profileFrames(path, align, frames);
        rows = fitSpeedRows(profile.speedKmh, 1, 1).rows.size() + gradientSections(path, {}).size();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["fixes"] = plan.seconds * 10;
    state.counters["rows"] = double(rows);
}
BENCHMARK(StandingTrack)->Arg(30)->Arg(120)->Arg(240)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
