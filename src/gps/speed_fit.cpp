#include "gps/speed_fit.h"

#include <algorithm>
#include <cmath>

#include "dynamics/motion.h"

namespace ts::gps {

namespace {

// Half a km/h less a little: the interpolated speed x rounds into [lo, hi]
// whenever lo - 0.5 < x < hi + 0.5, and the margin keeps clear of the ties.
constexpr double kHalf = 0.5 - 1e-6;

std::vector<Speed_UnitData> fitOnce(const std::vector<double>& v, double tol, int crawl) {
    const int n = int(v.size());
    std::vector<double> lo(static_cast<size_t>(n)), hi(static_cast<size_t>(n));
    for (int f = 0; f < n; ++f) {
        const double s = std::max(v[size_t(f)], double(crawl));
        lo[size_t(f)] = std::max(double(crawl), std::ceil(s - tol)) - kHalf;
        // Where the train stands the row keeps the crawl speed itself.
        hi[size_t(f)] = (v[size_t(f)] <= crawl ? crawl : std::floor(s + tol)) + kHalf;
    }
    auto nearest = [&](double target, double a, double b) {
        // The whole km/h in [a, b] nearest to target; [a, b] holds one.
        return int(std::clamp(std::round(target), std::ceil(a), std::floor(b)));
    };
    std::vector<Speed_UnitData> rows;
    int a = 0;
    int va = nearest(std::max(v[0], double(crawl)), lo[0], hi[0]);
    while (a < n - 1) {
        double kLo = -1e300, kHi = 1e300;
        // The farthest end whose knot can sit on the measured speed (within
        // half a km/h), else the farthest end at all: a knot pushed off the
        // curve at a bend would cost the next row its reach.
        int bestEnd = a + 1, bestValue = 0, onEnd = -1, onValue = 0;
        for (int b = a + 1; b < n; ++b) {
            const double span = b - a;
            kLo = std::max(kLo, (lo[size_t(b)] - va) / span);
            kHi = std::min(kHi, (hi[size_t(b)] - va) / span);
            if (kLo > kHi) break;
            const double x0 = va + kLo * span, x1 = va + kHi * span;
            if (std::ceil(x0) <= std::floor(x1)) {
                const double target = std::max(v[size_t(b)], double(crawl));
                bestEnd = b;
                bestValue = nearest(target, x0, x1);
                if (std::abs(bestValue - target) <= 0.5) onEnd = b, onValue = bestValue;
            }
        }
        if (onEnd >= 0) bestEnd = onEnd, bestValue = onValue;
        Speed_UnitData row;
        row.fromPosition = a;
        row.toPosition = bestEnd;
        row.fromSpeed = va;
        row.toSpeed = bestValue;
        rows.push_back(row);
        a = bestEnd;
        va = bestValue;
    }
    return rows;
}

}  // namespace

int recordedSpeedAt(const std::vector<Speed_UnitData>& rows, int frame) {
    RouteData route;
    route.speedUnitTable = rows;
    Motion m;
    m.trainPosition = frame;
    m.recordedSpeedKmh = 0;
    updateRecordedSpeed(route, m);
    return m.recordedSpeedKmh;
}

SpeedFit fitSpeedRows(const std::vector<double>& v, double tolerance, int crawl, int maxRows) {
    SpeedFit fit;
    fit.tolerance = std::max(tolerance, 0.5);
    for (;;) {
        fit.rows = fitOnce(v, fit.tolerance, crawl);
        if (int(fit.rows.size()) <= maxRows) break;
        fit.tolerance *= 1.25;
    }
    // Measured with the run's own interpolation, row by row.
    RouteData route;
    route.speedUnitTable = fit.rows;
    Motion m;
    for (int f = 0; f < int(v.size()); ++f) {
        m.trainPosition = f;
        updateRecordedSpeed(route, m);
        fit.largestError =
            std::max(fit.largestError, std::abs(m.recordedSpeedKmh - std::max(v[size_t(f)], double(crawl))));
    }
    return fit;
}

}  // namespace ts::gps
