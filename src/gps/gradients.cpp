#include "gps/gradients.h"

#include <algorithm>
#include <cmath>
#include <list>

namespace ts::gps {

namespace {

constexpr double kStep = 5;  // metres

double roundMille(double g) { return std::round(g * 10) / 10; }

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

}  // namespace

std::vector<GradientSection> gradientSections(const RidePath& path, const GradientOptions& o) {
    const size_t cells = size_t(std::ceil(path.length() / kStep)) + 1;
    std::vector<double> sum(cells, 0.0);
    std::vector<int> count(cells, 0);
    for (const PathSample& s : path.samples) {
        if (!s.hasEle()) continue;
        const size_t c = std::min(cells - 1, size_t(std::lround(s.distance / kStep)));
        sum[c] += s.ele;
        ++count[c];
    }
    if (std::none_of(count.begin(), count.end(), [](int c) { return c > 0; }))
        throw ImportError("the track has no heights (<ele>), so it gives no gradients; leave out slopes (--what speed,stations)");
    // One value per 5 m however long the train stood there, then the mean of
    // those values over the window.
    std::vector<double> cellMean(cells, 0.0);
    for (size_t c = 0; c < cells; ++c)
        if (count[c] > 0) cellMean[c] = sum[c] / count[c];
    // A straight line fitted at each step to the cell values around it,
    // weighted down linearly to nothing at half the window: steady where
    // fixes enter and leave the window, and unbiased on a steady gradient.
    const long reach = long(std::max(100.0, o.windowMetres) / 2 / kStep);
    std::vector<double> e(cells, 0.0);
    for (long c = 0; c < long(cells); ++c) {
        double sw = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
        for (long j = std::max(0L, c - reach); j <= std::min(long(cells) - 1, c + reach); ++j) {
            if (count[size_t(j)] == 0) continue;
            const double w = 1 - double(std::abs(j - c)) / double(reach + 1);
            const double x = double(j - c), y = cellMean[size_t(j)];
            sw += w, sx += w * x, sy += w * y, sxx += w * x * x, sxy += w * x * y;
        }
        if (sw == 0) {
            e[size_t(c)] = c > 0 ? e[size_t(c) - 1] : 0;
            continue;
        }
        const double mx = sx / sw, my = sy / sw, vxx = sxx / sw - mx * mx;
        const double slope = vxx > 1e-12 ? (sxy / sw - mx * my) / vxx : 0;
        e[size_t(c)] = my - slope * mx;
    }
    if (cells < 2) return {};

    std::vector<size_t> knots{0};
    cut(e, 0, cells - 1, o.heightToleranceMetres, knots);
    knots.push_back(cells - 1);
    // The cuts fall where the profile strays most from a straight line, which
    // on a gentle change of gradient can be well past the change; each knot is
    // moved to where the two pieces beside it fit the profile best.
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

    // Each section remembers the steepest and the least steep of the pieces it
    // was made of, so that a gradual change does not merge step by step into
    // one section: a merge keeps every piece within the tolerance of every other.
    struct Section {
        size_t a, b;
        double least, most;
    };
    auto grade = [&](size_t a, size_t b) {
        return roundMille((e[b] - e[a]) / (double(b - a) * kStep) * 1000);
    };
    std::list<Section> pieces;
    for (size_t i = 0; i + 1 < knots.size(); ++i) {
        const double g = grade(knots[i], knots[i + 1]);
        pieces.push_back({knots[i], knots[i + 1], g, g});
    }
    // The closest neighbours first.
    for (;;) {
        auto best = pieces.end();
        double bestDiff = o.toleranceMille;
        for (auto it = pieces.begin(); std::next(it) != pieces.end(); ++it) {
            const auto next = std::next(it);
            const double spread = std::max(it->most, next->most) - std::min(it->least, next->least);
            const double d = std::abs(grade(it->a, it->b) - grade(next->a, next->b));
            if (spread < o.toleranceMille && d < bestDiff) bestDiff = d, best = it;
        }
        if (best == pieces.end()) break;
        auto next = std::next(best);
        best->b = next->b;
        best->least = std::min(best->least, next->least);
        best->most = std::max(best->most, next->most);
        pieces.erase(next);
    }
    std::vector<GradientSection> out;
    for (const Section& p : pieces) out.push_back({double(p.a) * kStep, double(p.b) * kStep, grade(p.a, p.b)});
    return out;
}

}  // namespace ts::gps
