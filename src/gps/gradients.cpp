#include "gps/gradients.h"
#include "text/our_text.h"

#include <algorithm>
#include <cmath>
#include <list>

namespace ts::gps {

namespace {

constexpr double kStep = 5;  // metres

double roundMille(double g) { return std::round(g * 10) / 10; }

// The track's heights in 5 m steps of distance: one value per step however
// long the train stood there, and the profile smoothed over the window.
struct Cells {
    std::vector<double> mean;
    std::vector<int> count;
    std::vector<double> smooth;
    size_t size() const { return mean.size(); }
};

// Indexes of the points kept when `e` is cut into straight pieces within `tol`.
void cut(const std::vector<double>& e, size_t a, size_t b, double tol, std::vector<size_t>& out) {
    double worst = 0;
    size_t at = a;
    for (size_t i = a + 1; i < b; ++i) {
        const double line = e[a] + (e[b] - e[a]) * double(i - a) / double(b - a);
        const double d = std::abs(e[i] - line);
        if (d > worst) worst = d, at = i;
    }
    if (worst <= tol) return;
    cut(e, a, at, tol, out);
    out.push_back(at);
    cut(e, at, b, tol, out);
}

// The heights at the knots of the straight pieces that best fit the cells'
// own values (not the smoothed profile, whose window rounds each change of
// gradient off), by least squares over the tridiagonal hat basis. A knot
// without values near it leans, very lightly, on the profile.
std::vector<double> fitHeights(const Cells& cells, const std::vector<size_t>& knots) {
    const std::vector<double>& value = cells.mean;
    const std::vector<int>& count = cells.count;
    const std::vector<double>& profile = cells.smooth;
    const size_t n = knots.size();
    constexpr double kLean = 1e-6;
    std::vector<double> diag(n, kLean), off(n, 0.0), rhs(n);
    for (size_t j = 0; j < n; ++j) rhs[j] = kLean * profile[knots[j]];
    for (size_t j = 0; j + 1 < n; ++j) {
        const size_t a = knots[j], b = knots[j + 1];
        for (size_t c = a + (j > 0); c <= b; ++c) {
            if (count[c] == 0) continue;
            const double u = double(c - a) / double(b - a), y = value[c];
            diag[j] += (1 - u) * (1 - u), off[j] += (1 - u) * u, diag[j + 1] += u * u;
            rhs[j] += (1 - u) * y, rhs[j + 1] += u * y;
        }
    }
    // Thomas's algorithm: the system is symmetric and diagonally dominant enough.
    for (size_t j = 1; j < n; ++j) {
        const double m = off[j - 1] / diag[j - 1];
        diag[j] -= m * off[j - 1];
        rhs[j] -= m * rhs[j - 1];
    }
    std::vector<double> h(n);
    h[n - 1] = rhs[n - 1] / diag[n - 1];
    for (size_t j = n - 1; j-- > 0;) h[j] = (rhs[j] - off[j] * h[j + 1]) / diag[j];
    return h;
}

// The squared residuals of the cells from first to last knot about the
// straight pieces through `knots` fitted to them.
double piecesError(const Cells& cells, const std::vector<size_t>& knots) {
    const std::vector<double> h = fitHeights(cells, knots);
    double err = 0;
    for (size_t j = 0; j + 1 < knots.size(); ++j) {
        const size_t a = knots[j], b = knots[j + 1];
        for (size_t c = a + (j > 0); c <= b; ++c) {
            if (cells.count[c] == 0) continue;
            const double line = h[j] + (h[j + 1] - h[j]) * double(c - a) / double(b - a);
            err += (cells.mean[c] - line) * (cells.mean[c] - line);
        }
    }
    return err;
}

Cells gather(const RidePath& path, double windowMetres, long& reach) {
    Cells cells;
    const size_t n = size_t(std::ceil(path.length() / kStep)) + 1;
    cells.mean.assign(n, 0.0);
    cells.count.assign(n, 0);
    for (const PathSample& s : path.samples) {
        if (!s.hasEle()) continue;
        const size_t c = std::min(n - 1, size_t(std::lround(s.distance / kStep)));
        cells.mean[c] += s.ele;
        ++cells.count[c];
    }
    if (std::none_of(cells.count.begin(), cells.count.end(), [](int c) { return c > 0; }))
        throw ImportError(trText(
            "GpsImport",
            "the track has no heights (<ele>), so it gives no gradients; leave out slopes (--what speed,stations)"));
    for (size_t c = 0; c < n; ++c)
        if (cells.count[c] > 0) cells.mean[c] /= cells.count[c];
    // A straight line fitted at each step to the cell values around it,
    // weighted down linearly to nothing at half the window: steady where
    // fixes enter and leave the window, and unbiased on a steady gradient.
    reach = long(std::max(100.0, windowMetres) / 2 / kStep);
    cells.smooth.assign(n, 0.0);
    for (long c = 0; c < long(n); ++c) {
        double sw = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
        for (long j = std::max(0L, c - reach); j <= std::min(long(n) - 1, c + reach); ++j) {
            if (cells.count[size_t(j)] == 0) continue;
            const double w = 1 - double(std::abs(j - c)) / double(reach + 1);
            const double x = double(j - c), y = cells.mean[size_t(j)];
            sw += w, sx += w * x, sy += w * y, sxx += w * x * x, sxy += w * x * y;
        }
        if (sw == 0) {
            cells.smooth[size_t(c)] = c > 0 ? cells.smooth[size_t(c) - 1] : 0;
            continue;
        }
        const double mx = sx / sw, my = sy / sw, vxx = sxx / sw - mx * mx;
        const double slope = vxx > 1e-12 ? (sxy / sw - mx * my) / vxx : 0;
        cells.smooth[size_t(c)] = my - slope * mx;
    }
    return cells;
}

// The root mean square of the cells' heights about the smoothed profile.
double spread(const Cells& cells) {
    double sum = 0;
    int n = 0;
    for (size_t c = 0; c < cells.size(); ++c) {
        if (cells.count[c] == 0) continue;
        sum += (cells.mean[c] - cells.smooth[c]) * (cells.mean[c] - cells.smooth[c]);
        ++n;
    }
    return n > 0 ? std::sqrt(sum / n) : 0;
}

// The cuts fall where the profile strays most from a straight line, which on
// a gentle change of gradient can be well past the change; each knot is moved
// to where the two pieces beside it fit the profile best.
void moveOnProfile(const std::vector<double>& e, std::vector<size_t>& knots) {
    for (int pass = 0; pass < 3; ++pass) {
        for (size_t k = 1; k + 1 < knots.size(); ++k) {
            const size_t a = knots[k - 1], b = knots[k + 1];
            double bestErr = 1e300;
            size_t best = knots[k];
            for (size_t m = a + 1; m < b; ++m) {
                double err = 0;
                for (size_t i = a; i <= b && err < bestErr; ++i) {
                    const size_t p = i <= m ? a : m, q = i <= m ? m : b;
                    const double line = e[p] + (e[q] - e[p]) * double(i - p) / double(q - p);
                    err += (e[i] - line) * (e[i] - line);
                }
                if (err < bestErr) bestErr = err, best = m;
            }
            knots[k] = best;
        }
    }
}

// The window spreads a short section over its neighbours: each knot moves,
// within `reach` cells, to where the two pieces beside it fit the cells' own
// heights best.
void moveOnCells(const Cells& cells, std::vector<size_t>& knots, size_t reach) {
    for (int pass = 0; pass < 3; ++pass) {
        for (size_t k = 1; k + 1 < knots.size(); ++k) {
            const size_t a = knots[k - 1], b = knots[k + 1];
            if (b < a + 2) continue;
            const size_t from = std::max(a + 1, knots[k] > reach ? knots[k] - reach : 0);
            const size_t to = std::min(b - 1, knots[k] + reach);
            double bestErr = 1e300;
            size_t best = knots[k];
            for (size_t m = from; m <= to; ++m) {
                const double err = piecesError(cells, {a, m, b});
                if (err < bestErr) bestErr = err, best = m;
            }
            knots[k] = best;
        }
    }
}

// A piece with fewer than three heights has a gradient its heights cannot
// tell from its neighbours' (with fixes 20 m apart, a corner lies between two
// of them, and two knots either side fit as well as one at the corner): one
// of its knots goes, the one the heights round it miss least.
void dropThinPieces(const Cells& cells, std::vector<size_t>& knots) {
    auto heights = [&](size_t a, size_t b) {
        int n = 0;
        for (size_t c = a; c <= b; ++c) n += cells.count[c] > 0;
        return n;
    };
    auto errorWithout = [&](size_t k) {
        const size_t lo = k >= 2 ? k - 2 : 0, hi = std::min(knots.size() - 1, k + 2);
        std::vector<size_t> w(knots.begin() + long(lo), knots.begin() + long(hi) + 1);
        w.erase(w.begin() + long(k - lo));
        return piecesError(cells, w);
    };
    for (size_t j = 0; j + 1 < knots.size() && knots.size() > 2;) {
        if (heights(knots[j], knots[j + 1]) >= 3) {
            ++j;
            continue;
        }
        size_t drop = j == 0 ? 1 : j;
        if (j > 0 && j + 2 < knots.size() && errorWithout(j + 1) < errorWithout(j)) drop = j + 1;
        if (drop + 1 >= knots.size()) break;  // the ride is one thin piece
        knots.erase(knots.begin() + long(drop));
        j = drop > 0 ? drop - 1 : 0;
    }
}

// Neighbouring pieces whose gradients differ by less than the tolerance are
// one section, the closest first. Each section remembers the steepest and the
// least steep of the pieces it was made of, so that a gradual change does not
// merge step by step into one section: a merge keeps every piece within the
// tolerance of every other.
std::vector<size_t> mergeClose(const Cells& cells, const std::vector<size_t>& knots, double tolerance) {
    struct Section {
        size_t a, b;
        double least, most;
    };
    const std::vector<double> h = fitHeights(cells, knots);
    std::vector<double> height(cells.size(), 0.0);
    for (size_t j = 0; j < knots.size(); ++j) height[knots[j]] = h[j];
    auto grade = [&](size_t a, size_t b) {
        return roundMille((height[b] - height[a]) / (double(b - a) * kStep) * 1000);
    };
    std::list<Section> pieces;
    for (size_t i = 0; i + 1 < knots.size(); ++i) {
        const double g = grade(knots[i], knots[i + 1]);
        pieces.push_back({knots[i], knots[i + 1], g, g});
    }
    for (;;) {
        auto best = pieces.end();
        double bestDiff = tolerance;
        for (auto it = pieces.begin(); std::next(it) != pieces.end(); ++it) {
            const auto next = std::next(it);
            const double spread = std::max(it->most, next->most) - std::min(it->least, next->least);
            const double d = std::abs(grade(it->a, it->b) - grade(next->a, next->b));
            if (spread < tolerance && d < bestDiff) bestDiff = d, best = it;
        }
        if (best == pieces.end()) break;
        auto next = std::next(best);
        best->b = next->b;
        best->least = std::min(best->least, next->least);
        best->most = std::max(best->most, next->most);
        pieces.erase(next);
    }
    std::vector<size_t> kept;
    for (const Section& p : pieces) kept.push_back(p.a);
    kept.push_back(pieces.back().b);
    return kept;
}

}  // namespace

std::vector<GradientSection> gradientSections(const RidePath& path, const GradientOptions& o) {
    long reach = 0;
    const Cells cells = gather(path, o.windowMetres, reach);
    if (cells.size() < 2) return {};
    std::vector<size_t> knots{0};
    cut(cells.smooth, 0, cells.size() - 1, o.heightToleranceMetres, knots);
    knots.push_back(cells.size() - 1);
    moveOnProfile(cells.smooth, knots);
    knots = mergeClose(cells, knots, o.toleranceMille);
    // Only once the pieces are sections: knots on the cells' noise would chase
    // it into short sections of their own.
    moveOnCells(cells, knots, size_t(reach));
    dropThinPieces(cells, knots);
    moveOnCells(cells, knots, size_t(reach));
    knots = mergeClose(cells, knots, o.toleranceMille);
    // Each gradient from the heights of its own section, fitted on the final knots.
    const std::vector<double> h = fitHeights(cells, knots);
    const double noise = spread(cells);
    std::vector<GradientSection> out;
    for (size_t j = 0; j + 1 < knots.size(); ++j) {
        const double from = double(knots[j]) * kStep, to = double(knots[j + 1]) * kStep;
        // Twice the standard error of a straight line fitted through the
        // section's heights (noise σ, n heights over its length).
        int n = 0;
        for (size_t c = knots[j]; c <= knots[j + 1]; ++c) n += cells.count[c] > 0;
        const double error = n > 0 ? 2 * noise * std::sqrt(12.0 / n) / (to - from) * 1000 : 1e9;
        out.push_back({from, to, roundMille((h[j + 1] - h[j]) / (to - from) * 1000), error});
    }
    return out;
}

double heightNoise(const RidePath& path, const GradientOptions& o) {
    long reach = 0;
    return spread(gather(path, o.windowMetres, reach));
}

}  // namespace ts::gps
