// The [SpeedUnit] fit and the [Slope] sections on profiles whose answer is
// known: fewest rows, every frame within the tolerance as the run
// interpolates, the 501-row limit, and gradients from heights.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "gps/import.h"
#include "gps_rides.h"
#include "gpx_file.h"

using namespace ts;
using namespace ts::gps;

namespace {

void expectWellFormed(const SpeedFit& fit, int frames, int crawl) {
    ASSERT_FALSE(fit.rows.empty());
    EXPECT_EQ(fit.rows.front().fromPosition, 0);
    EXPECT_EQ(fit.rows.back().toPosition, frames - 1);
    for (size_t i = 0; i < fit.rows.size(); ++i) {
        const auto& r = fit.rows[i];
        EXPECT_LT(r.fromPosition, r.toPosition) << "row " << i;
        EXPECT_GE(std::min(r.fromSpeed, r.toSpeed), crawl) << "row " << i;
        if (i > 0) {
            EXPECT_EQ(r.fromPosition, fit.rows[i - 1].toPosition) << "gap before row " << i;
        }
    }
    EXPECT_LE(fit.rows.size(), 501u);
}

}  // namespace

TEST(GpsFit, TrapezoidNeedsExactlyItsThreeRows) {
    // 5 to 65 km/h over 600 frames, steady for 1000, down to 5 over 400.
    std::vector<double> v(2001);
    for (int f = 0; f <= 2000; ++f)
        v[size_t(f)] = f < 600 ? 5 + 60.0 * f / 600 : f < 1600 ? 65 : 65 - 60.0 * (f - 1600) / 400;
    const SpeedFit fit = fitSpeedRows(v, 1, 1);
    expectWellFormed(fit, 2001, 1);
    ASSERT_EQ(fit.rows.size(), 3u);
    EXPECT_LE(fit.largestError, 1.0);
    // The knots sit within the tolerance's reach of the bends.
    EXPECT_NEAR(fit.rows[0].toPosition, 600, 10);
    EXPECT_NEAR(fit.rows[1].toPosition, 1600, 12);
}

TEST(GpsFit, EveryFrameWithinTheToleranceAsTheRunInterpolates) {
    std::mt19937 rng(7);
    std::normal_distribution<double> n(0, 0.3);
    std::vector<double> v(9000);
    for (size_t f = 0; f < v.size(); ++f) v[f] = 40 + 25 * std::sin(double(f) / 700) + n(rng);
    for (double tol : {0.5, 1.0, 3.0}) {
        const SpeedFit fit = fitSpeedRows(v, tol, 1);
        expectWellFormed(fit, 9000, 1);
        // Half a km/h against 0.3 km/h of noise needs more than 501 rows.
        if (tol == 0.5)
            EXPECT_GT(fit.tolerance, 0.5);
        else
            EXPECT_EQ(fit.tolerance, tol);
        for (int f = 0; f < 9000; ++f)
            ASSERT_LE(std::abs(recordedSpeedAt(fit.rows, f) - v[size_t(f)]), fit.tolerance + 1e-9)
                << "frame " << f << " tol " << tol;
        EXPECT_LE(fit.largestError, fit.tolerance);
    }
    // A wider tolerance never needs more rows.
    EXPECT_GE(fitSpeedRows(v, 0.5, 1).rows.size(), fitSpeedRows(v, 1, 1).rows.size());
    EXPECT_GE(fitSpeedRows(v, 1, 1).rows.size(), fitSpeedRows(v, 3, 1).rows.size());
}

TEST(GpsFit, StandingFramesKeepTheCrawlSpeed) {
    std::vector<double> v(600, 0.0);
    for (int f = 0; f < 200; ++f) v[size_t(f)] = 20 - f * 0.1;
    const SpeedFit fit = fitSpeedRows(v, 1, 3);
    expectWellFormed(fit, 600, 3);
    for (int f = 0; f < 600; ++f) EXPECT_GE(recordedSpeedAt(fit.rows, f), 3);
    EXPECT_EQ(recordedSpeedAt(fit.rows, 400), 3);
}

TEST(GpsFit, MoreThan501RowsRaiseTheTolerance) {
    // A speed that swings by 6 km/h every 20 frames needs a row per swing at 1 km/h.
    std::vector<double> v(30000);
    for (size_t f = 0; f < v.size(); ++f) v[f] = 50 + ((f / 20) % 2 ? 3 : -3);
    const SpeedFit fit = fitSpeedRows(v, 1, 1);
    expectWellFormed(fit, 30000, 1);
    EXPECT_GT(fit.tolerance, 1);
    EXPECT_LE(fit.largestError, fit.tolerance);
}

TEST(GpsGradients, ElevationProfileGivesItsSections) {
    // Level 500 m, up 10 per mille for 1000 m, level 500 m, down 5 per mille
    // for 1000 m, level 500 m; heights with 0.3 m noise, a fix a second at 20 m/s.
    auto height = [](double d) {
        if (d < 500) return 50.0;
        if (d < 1500) return 50 + 0.010 * (d - 500);
        if (d < 2000) return 60.0;
        if (d < 3000) return 60 - 0.005 * (d - 2000);
        return 55.0;
    };
    std::mt19937 rng(3);
    std::normal_distribution<double> n(0, 0.3);
    test::RidePlan s;
    s.distance = [](double t) { return 20 * t; };
    s.height = [&](double d) { return height(d) + n(rng); };
    s.seconds = 175;
    const Ride ride = joinSegments(readGpxText(test::rideGpx(s)));
    const RidePath path = measureRide(ride);
    const auto sections = gradientSections(path);
    // Away from the four bends (the 200 m window blurs each over 100 m either
    // side) every metre of line has its gradient within 1 per mille, and a
    // bend costs at most one short section of its own.
    auto truth = [](double d) { return d < 500 ? 0 : d < 1500 ? 10 : d < 2000 ? 0 : d < 3000 ? -5 : 0; };
    const double bends[] = {500, 1500, 2000, 3000};
    EXPECT_LE(sections.size(), 9u);
    for (const auto& g : sections) {
        for (double d = g.fromMetres; d < g.toMetres; d += 5) {
            bool nearBend = false;
            for (double b : bends) nearBend = nearBend || std::abs(d - b) < 120;
            if (!nearBend) {
                EXPECT_NEAR(g.mille, truth(d), 1.0) << "at " << d << " m";
            }
        }
    }
}

TEST(GpsGradients, AShortSectionBetweenBendsKeepsItsGradient) {
    // Up 10 per mille for 600 m, down 8 for only 150 m, level after: the
    // smoothing window is wider than the short section, so its gradient must
    // come from the heights themselves, not from the smoothed profile.
    auto height = [](double d) {
        if (d < 600) return 40 + 0.010 * d;
        if (d < 750) return 46 - 0.008 * (d - 600);
        return 44.8;
    };
    test::RidePlan s;
    s.distance = [](double t) { return 15 * t; };
    s.height = height;
    s.seconds = 100;
    const RidePath path = measureRide(joinSegments(readGpxText(test::rideGpx(s))));
    const auto sections = gradientSections(path);
    auto truth = [](double d) { return d < 600 ? 10.0 : d < 750 ? -8.0 : 0.0; };
    EXPECT_LE(sections.size(), 5u);
    for (const auto& g : sections) {
        std::printf("%.0f-%.0f m: %.1f\n", g.fromMetres, g.toMetres, g.mille);
        for (double d = g.fromMetres; d < g.toMetres; d += 5)
            if (std::abs(d - 600) > 25 && std::abs(d - 750) > 25) {
                EXPECT_NEAR(g.mille, truth(d), 0.5) << "at " << d << " m";
            }
    }
}

TEST(GpsGradients, ACornerBetweenTwoFixesIsOneKnot) {
    // Fixes 19.4 m apart and a change from 10 per mille to level between two
    // of them: two knots either side of it fit the heights as well as one at
    // it, and would leave a short section of neither gradient.
    test::RidePlan s;
    s.distance = [](double t) { return 19.4 * t; };
    s.height = [](double d) { return d < 1483 ? 40 + 0.010 * d : 40 + 14.83; };
    s.seconds = 120;
    const RidePath path = measureRide(joinSegments(readGpxText(test::rideGpx(s))));
    GradientOptions o;
    o.windowMetres = 100;
    o.heightToleranceMetres = 0.1;
    const auto sections = gradientSections(path, o);
    for (const auto& g : sections) std::printf("%.0f-%.0f m: %.1f\n", g.fromMetres, g.toMetres, g.mille);
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_NEAR(sections[0].mille, 10, 0.1);
    EXPECT_NEAR(sections[1].mille, 0, 0.1);
    EXPECT_NEAR(sections[0].toMetres, 1483, 10);
}

TEST(GpsGradients, NoHeightsIsSaid) {
    test::RidePlan s;
    s.distance = [](double t) { return 20 * t; };
    const Ride ride = joinSegments(readGpxText(test::rideGpx(s)));
    EXPECT_THROW(gradientSections(measureRide(ride)), ImportError);
}
