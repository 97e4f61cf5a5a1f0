#include "motion/rails_row.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "motion/straight_line.h"

namespace ts::motion {

namespace {

// A rail's head is a bright line a pixel or two wide: brighter by this much
// than the picture two pixels either side of it.
constexpr int kLeastRidge = 16;
constexpr int kRidgeReach = 2;
// How far from the row below a rail may be looked for, beyond where its
// slant puts it, and how many rows it may go missing (a shadow, a joint).
constexpr double kSearch = 1.5;
constexpr int kMostMissed = 3;
// Followed at least this many rows together, with a gauge that fits its
// straight line this well, the pair counts.
constexpr int kLeastRows = 24;
constexpr double kMostScatter = 0.6;
// Near the meeting point the rails run into one line.
constexpr double kLeastGauge = 6;

int ridge(const GreyPicture& p, int x, int y) {
    if (x < kRidgeReach || x >= p.width - kRidgeReach) return 0;
    const int here = p.at(x, y);
    return std::min(here - p.at(x - kRidgeReach, y), here - p.at(x + kRidgeReach, y));
}

// The strongest ridge within `reach` of `near` in row y, to a fraction of a
// pixel (the peak of a parabola through it and its neighbours); nullopt
// where none is strong enough.
std::optional<double> ridgeNear(const GreyPicture& p, double near, double reach, int y) {
    const int from = int(std::floor(near - reach)), to = int(std::ceil(near + reach));
    int best = -1, bestRidge = kLeastRidge - 1;
    for (int x = from; x <= to; ++x)
        if (const int r = ridge(p, x, y); r > bestRidge) best = x, bestRidge = r;
    if (best < 0) return std::nullopt;
    const double left = ridge(p, best - 1, y), right = ridge(p, best + 1, y), bend = left - 2.0 * bestRidge + right;
    const double shift = bend < 0 ? std::clamp(0.5 * (left - right) / bend, -0.5, 0.5) : 0.0;
    return best + shift;
}

struct Rail {
    double x = 0, slant = 0;  // column, and its change per row upwards
    int missed = 0;
};

// Follows a pair of rails up from row `start`, and fits their gauge.
std::optional<double> followPair(const GreyPicture& p, double left, double right, int start) {
    Rail l{left, 0, 0}, r{right, 0, 0};
    // The rails lean in towards each other going up; their first slant is
    // found from the next rows, where the search reaches wider.
    std::vector<double> rows, gauges;
    LineFit fit;
    for (int y = start; y > 0; --y) {
        const double reach = rows.size() < 4 ? 2 * kSearch : kSearch;
        for (Rail* rail : {&l, &r}) {
            const auto x = ridgeNear(p, rail->x + rail->slant, reach, y);
            if (!x) {
                ++rail->missed;
                rail->x += rail->slant;
                continue;
            }
            rail->slant = rows.empty() ? *x - rail->x : 0.7 * rail->slant + 0.3 * (*x - rail->x);
            rail->x = *x;
            rail->missed = 0;
        }
        if (l.missed > kMostMissed || r.missed > kMostMissed) break;
        if (r.x - l.x < kLeastGauge) break;
        if (l.missed == 0 && r.missed == 0) rows.push_back(y), gauges.push_back(r.x - l.x), fit.add(y, r.x - l.x);
    }
    if (int(rows.size()) < kLeastRows) return std::nullopt;
    // gauge = a (row - y0): least squares.
    const auto line = fit.line();
    if (!line || line->slope <= 0.05) return std::nullopt;
    double scatter = 0;
    for (size_t i = 0; i < rows.size(); ++i) scatter += std::pow(gauges[i] - line->at(rows[i]), 2);
    if (std::sqrt(scatter / double(rows.size())) > kMostScatter) return std::nullopt;
    return line->zero();
}

}  // namespace

std::optional<double> railsVanishingRow(const GreyPicture& p) {
    if (!p.pixels || p.width < 32 || p.height < 32) return std::nullopt;
    // Start a little above the bottom (a bonnet or the cab's sill may show
    // there), with the strongest ridges of the middle half of the row: the
    // rails are the pair either side of the middle.
    const int start = p.height - 1 - p.height / 20;
    std::vector<std::pair<int, int>> peaks;  // ridge, column
    for (int x = p.width / 4; x < p.width * 3 / 4; ++x) {
        const int r = ridge(p, x, start);
        if (r >= kLeastRidge && r >= ridge(p, x - 1, start) && r > ridge(p, x + 1, start)) peaks.push_back({r, x});
    }
    std::sort(peaks.rbegin(), peaks.rend());
    if (peaks.size() > 8) peaks.resize(8);
    const double middle = 0.5 * p.width;
    std::optional<double> found;
    double bestScore = -1;
    for (const auto& [rl, xl] : peaks)
        for (const auto& [rr, xr] : peaks) {
            if (xl >= middle || xr <= middle) continue;
            const double score = rl + rr;
            if (score <= bestScore) continue;
            if (const auto row = followPair(p, xl, xr, start)) found = row, bestScore = score;
        }
    return found;
}

}  // namespace ts::motion
