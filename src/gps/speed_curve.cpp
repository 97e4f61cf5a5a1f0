#include "gps/speed_curve.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace ts::gps {

double SpeedCurve::at(double t) const {
    if (times.empty()) return 0;
    if (t <= times.front()) return speeds.front();
    if (t >= times.back()) return speeds.back();
    const size_t k = size_t(std::upper_bound(times.begin(), times.end(), t) - times.begin());
    const double u = (t - times[k - 1]) / (times[k] - times[k - 1]);
    return speeds[k - 1] + u * (speeds[k] - speeds[k - 1]);
}

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// The upper median; `v` is reordered, and must not be empty.
double median(std::vector<double>& v) {
    std::nth_element(v.begin(), v.begin() + long(v.size() / 2), v.end());
    return v[v.size() / 2];
}

struct Obs {
    double t, d;
};

// At most this many knots in one local fit: the window round a knot.
constexpr int kMaxKnots = 8;
constexpr int kMaxParams = kMaxKnots + 1;

// Least squares of the distances of obs[first, last) over a continuous
// piecewise-linear speed with the given knots (the first at or before the
// first observation, the last at or after the last). The unknowns are the
// distance at the first knot and the speed at each; the distance at t in
// piece s is D_s + v_s (u - u^2/2h) + v_{s+1} u^2/2h, u = t - knot s, and D_s
// sums the pieces before. Returns the residual sum of squares (infinite when
// the knots leave a speed undetermined) and the speeds.
double fitLocal(const double* knots, int count, const std::vector<Obs>& obs, size_t first, size_t last,
                double* speeds = nullptr) {
    const int p = count + 1;
    std::array<double, kMaxParams * kMaxParams> m{};
    std::array<double, kMaxParams> r{};
    auto at = [&](int i, int j) -> double& { return m[size_t(i * p + j)]; };
    const double d0 = obs[first].d;
    size_t i = first;
    for (int s = 0; s + 1 < count; ++s) {
        const double h = knots[s + 1] - knots[s];
        // Sums over the piece's observations of the two local weights and the distance.
        double n = 0, sy = 0, sa = 0, sb = 0, saa = 0, sab = 0, sbb = 0, sya = 0, syb = 0;
        for (; i < last && (obs[i].t <= knots[s + 1] || s + 2 == count); ++i) {
            const double u = obs[i].t - knots[s], y = obs[i].d - d0;
            const double b = u * u / (2 * h), a = u - b;
            n += 1, sy += y, sa += a, sb += b, saa += a * a, sab += a * b, sbb += b * b, sya += y * a, syb += y * b;
        }
        if (n == 0) continue;
        // The part every observation of this piece shares: the distance at its start.
        std::array<double, kMaxParams> pre{};
        pre[0] = 1;
        for (int j = 0; j < s; ++j) {
            const double half = (knots[j + 1] - knots[j]) / 2;
            pre[size_t(j + 1)] += half, pre[size_t(j + 2)] += half;
        }
        const int cols = s + 2;  // prefix columns 0 .. s + 1
        for (int x = 0; x < cols; ++x) {
            for (int y = 0; y < cols; ++y) at(x, y) += n * pre[size_t(x)] * pre[size_t(y)];
            at(x, s + 1) += pre[size_t(x)] * sa, at(s + 1, x) += pre[size_t(x)] * sa;
            at(x, s + 2) += pre[size_t(x)] * sb, at(s + 2, x) += pre[size_t(x)] * sb;
            r[size_t(x)] += sy * pre[size_t(x)];
        }
        at(s + 1, s + 1) += saa, at(s + 1, s + 2) += sab, at(s + 2, s + 1) += sab, at(s + 2, s + 2) += sbb;
        r[size_t(s + 1)] += sya, r[size_t(s + 2)] += syb;
    }
    // Cholesky; a pivot lost in rounding means the knots left a speed without observations.
    double largest = 0;
    for (int x = 0; x < p; ++x) largest = std::max(largest, at(x, x));
    for (int x = 0; x < p; ++x) {
        for (int k = 0; k < x; ++k) at(x, x) -= at(x, k) * at(x, k);
        if (!(at(x, x) > 1e-12 * largest)) return kInf;
        at(x, x) = std::sqrt(at(x, x));
        for (int y = x + 1; y < p; ++y) {
            for (int k = 0; k < x; ++k) at(y, x) -= at(y, k) * at(x, k);
            at(y, x) /= at(x, x);
        }
    }
    std::array<double, kMaxParams> z{};
    for (int x = 0; x < p; ++x) {
        double v = r[size_t(x)];
        for (int k = 0; k < x; ++k) v -= at(x, k) * z[size_t(k)];
        z[size_t(x)] = v / at(x, x);
    }
    for (int x = p - 1; x >= 0; --x) {
        double v = z[size_t(x)];
        for (int k = x + 1; k < p; ++k) v -= at(k, x) * z[size_t(k)];
        z[size_t(x)] = v / at(x, x);
    }
    // The residuals worked out again from the curve, not from the normal
    // equations, which would lose them in rounding on a long ride.
    double rss = 0, start = z[0];
    i = first;
    for (int s = 0; s + 1 < count; ++s) {
        const double h = knots[s + 1] - knots[s], vs = z[size_t(s + 1)], ve = z[size_t(s + 2)];
        for (; i < last && (obs[i].t <= knots[s + 1] || s + 2 == count); ++i) {
            const double u = obs[i].t - knots[s];
            const double e = obs[i].d - d0 - (start + vs * u + (ve - vs) * u * u / (2 * h));
            rss += e * e;
        }
        start += h * (vs + ve) / 2;
    }
    if (speeds)
        for (int k = 0; k < count; ++k) speeds[k] = z[size_t(k + 1)];
    return rss;
}

// The observations whose times lie within [from, to].
std::pair<size_t, size_t> within(const std::vector<Obs>& obs, double from, double to) {
    const auto a = std::lower_bound(obs.begin(), obs.end(), from, [](const Obs& o, double t) { return o.t < t; });
    const auto b = std::upper_bound(a, obs.end(), to, [](double t, const Obs& o) { return t < o.t; });
    return {size_t(a - obs.begin()), size_t(b - obs.begin())};
}

// The local fit round knot k: `reach` knots either side.
double fitAround(const std::vector<double>& knots, int k, int reach, const std::vector<Obs>& obs,
                 double* speeds = nullptr, int* firstKnot = nullptr) {
    const int lo = std::max(0, k - reach), hi = std::min(int(knots.size()) - 1, k + reach);
    const auto [a, b] = within(obs, knots[size_t(lo)], knots[size_t(hi)]);
    if (firstKnot) *firstKnot = lo;
    if (b - a < 2) return kInf;
    return fitLocal(&knots[size_t(lo)], hi - lo + 1, obs, a, b, speeds);
}

// Where the fix-to-fix speeds change course: the piece boundaries, as indices
// of fixes, of the cheapest cut into straight pieces (optimal partitioning
// with pruning: each piece costs its residual sum of squares plus `penalty`).
std::vector<size_t> cutSpeeds(const std::vector<Obs>& obs, double penalty, size_t minPiece) {
    const size_t n = obs.size() - 1;  // fix-to-fix speeds
    std::vector<double> dts(n);
    for (size_t i = 0; i < n; ++i) dts[i] = obs[i + 1].t - obs[i].t;
    std::vector<double> sorted = dts;
    const double usual = median(sorted);

    struct Moments {
        double w = 0, x = 0, xx = 0, y = 0, xy = 0, yy = 0;
    };
    std::vector<Moments> sum(n + 1);
    std::vector<double> speed(n);
    for (size_t i = 0; i < n; ++i) {
        speed[i] = (obs[i + 1].d - obs[i].d) / dts[i];
        // A longer interval averages the noise of its ends over more time.
        const double w = dts[i] / usual, x = (obs[i].t + obs[i + 1].t) / 2 - obs[0].t, y = speed[i];
        const Moments& p = sum[i];
        sum[i + 1] = {p.w + w, p.x + w * x, p.xx + w * x * x, p.y + w * y, p.xy + w * x * y, p.yy + w * y * y};
    }
    auto cost = [&](size_t a, size_t b) {
        const Moments& p = sum[a];
        const Moments& q = sum[b];
        const double w = q.w - p.w, x = q.x - p.x, y = q.y - p.y;
        const double sxx = (q.xx - p.xx) - x * x / w, sxy = (q.xy - p.xy) - x * y / w, syy = (q.yy - p.yy) - y * y / w;
        return std::max(0.0, syy - (sxx > 0 ? sxy * sxy / sxx : 0));
    };
    // The noise of one speed from neighbouring differences (robust against
    // the changes of course themselves); a standing train's zeros say nothing.
    std::vector<double> diffs;
    for (size_t i = 0; i + 1 < n; ++i)
        if (speed[i] != 0 || speed[i + 1] != 0) diffs.push_back(std::abs(speed[i + 1] - speed[i]));
    const double mad = diffs.empty() ? 0 : median(diffs);
    const double noise = std::max(1e-4, (1.4826 * mad) * (1.4826 * mad) / 2);
    const double beta = penalty * noise * std::log(double(std::max<size_t>(n, 2)));

    std::vector<double> best(n + 1, kInf);
    std::vector<size_t> from(n + 1, 0);
    best[0] = -beta;
    std::vector<size_t> open;
    for (size_t b = minPiece; b <= n; ++b) {
        if (best[b - minPiece] < kInf) open.push_back(b - minPiece);
        for (size_t a : open) {
            const double c = best[a] + cost(a, b) + beta;
            if (c < best[b]) best[b] = c, from[b] = a;
        }
        // A start that is already dearer than the best cut here can never win later.
        std::erase_if(open, [&](size_t a) { return best[a] + cost(a, b) > best[b]; });
    }
    std::vector<size_t> cuts;
    size_t b = n;
    if (best[n] == kInf) return cuts;  // too short to cut
    while (b > 0) {
        b = from[b];
        if (b > 0) cuts.push_back(b);
    }
    std::reverse(cuts.begin(), cuts.end());
    return cuts;
}

// Moves knots[k] between its neighbours to where `rss` (of the knots as they
// then stand) is least: a grid, then a golden-section search round its best.
template <class Rss>
void placeKnot(std::vector<double>& knots, int k, double gap, Rss rss) {
    const double lo = knots[size_t(k - 1)] + gap, hi = knots[size_t(k + 1)] - gap;
    if (hi <= lo) return;
    auto rssAt = [&](double t) {
        knots[size_t(k)] = t;
        return rss();
    };
    const double was = knots[size_t(k)];
    double bestT = was, bestRss = rssAt(was);
    constexpr int kSteps = 16;
    const double step = (hi - lo) / kSteps;
    for (int j = 0; j <= kSteps; ++j) {
        const double t = lo + step * j, e = rssAt(t);
        if (e < bestRss) bestRss = e, bestT = t;
    }
    double a = std::max(lo, bestT - step), b = std::min(hi, bestT + step);
    const double g = (std::sqrt(5.0) - 1) / 2;
    double c = b - g * (b - a), d = a + g * (b - a), fc = rssAt(c), fd = rssAt(d);
    for (int it = 0; it < 20 && b - a > 1e-3; ++it) {
        if (fc < fd)
            b = d, d = c, fd = fc, c = b - g * (b - a), fc = rssAt(c);
        else
            a = c, c = d, fc = fd, d = a + g * (b - a), fd = rssAt(d);
    }
    if (fc < bestRss) bestRss = fc, bestT = c;
    if (fd < bestRss) bestRss = fd, bestT = d;
    knots[size_t(k)] = bestT;
}

// Every knot moved to its best in turn until none moves by more than a
// hundredth of a second: neighbouring knots pull on each other, and a corner
// can sit in a long valley of the residuals that one round does not cross.
void placeAll(std::vector<double>& knots, double gap, const std::vector<Obs>& obs) {
    for (int pass = 0; pass < 30; ++pass) {
        double moved = 0;
        for (int k = 1; k + 1 < int(knots.size()); ++k) {
            const double was = knots[size_t(k)];
            placeKnot(knots, k, gap, [&] { return fitAround(knots, k, 2, obs); });
            moved = std::max(moved, std::abs(knots[size_t(k)] - was));
        }
        if (moved < 0.01) break;
    }
}

// What dropping knot k costs: the rise of the residuals over the three
// pieces either side once the knots beside it have moved to their best.
// `moved` receives the knots from k - 3 to k + 3 without k.
double removalCost(const std::vector<double>& knots, int k, double gap, const std::vector<Obs>& obs,
                   std::vector<double>& moved, int& first) {
    const int lo = std::max(0, k - 3), hi = std::min(int(knots.size()) - 1, k + 3);
    // Plain names, not a structured binding: the lambda below captures them.
    const std::pair<size_t, size_t> range = within(obs, knots[size_t(lo)], knots[size_t(hi)]);
    const size_t a = range.first, b = range.second;
    std::vector<double> w(knots.begin() + lo, knots.begin() + hi + 1);
    const double with = fitLocal(w.data(), int(w.size()), obs, a, b);
    w.erase(w.begin() + (k - lo));
    auto rss = [&] { return fitLocal(w.data(), int(w.size()), obs, a, b); };
    for (int j : {k - 1 - lo, k - lo})
        if (j > 0 && j + 1 < int(w.size())) placeKnot(w, j, gap, rss);
    moved = w;
    first = lo;
    const double without = rss();
    if (without == kInf) return kInf;
    return with == kInf ? -kInf : without - with;
}

// A knot the distances hardly miss goes, the cheapest first: the cut errs on
// the side of too many, since a missing knot costs far more than a spare one.
void dropSpareKnots(std::vector<double>& knots, double gap, double removal, const std::vector<Obs>& obs) {
    if (knots.size() <= 2) return;
    // The noise of a distance: the typical residual of the fits round the knots.
    std::vector<double> fits;
    for (int k = 1; k + 1 < int(knots.size()); ++k) {
        const int lo = std::max(0, k - 2), hi = std::min(int(knots.size()) - 1, k + 2);
        const auto [a, b] = within(obs, knots[size_t(lo)], knots[size_t(hi)]);
        const size_t params = size_t(hi - lo + 2);
        const double e = fitAround(knots, k, 2, obs);
        if (e < kInf && b - a > params + 2) fits.push_back(e / double(b - a - params));
    }
    const double spread = fits.empty() ? 1 : std::max(1e-4, median(fits));
    const double limit = removal * spread * std::log(double(obs.size()));
    struct Drop {
        double cost;
        std::vector<double> moved;
        int first;
    };
    std::vector<Drop> drops(knots.size());
    auto price = [&](int k) {
        Drop& d = drops[size_t(k)];
        d.cost = removalCost(knots, k, gap, obs, d.moved, d.first);
    };
    for (int k = 1; k + 1 < int(knots.size()); ++k) price(k);
    while (knots.size() > 2) {
        int which = 1;
        for (int k = 2; k + 1 < int(knots.size()); ++k)
            if (drops[size_t(k)].cost < drops[size_t(which)].cost) which = k;
        if (!(drops[size_t(which)].cost < limit)) break;
        const Drop d = drops[size_t(which)];
        knots.erase(knots.begin() + which);
        drops.erase(drops.begin() + which);
        std::copy(d.moved.begin(), d.moved.end(), knots.begin() + d.first);
        // Windows beyond the change keep their price and shift with the knots.
        for (size_t k = size_t(which) + 4; k < drops.size(); ++k) --drops[k].first;
        for (int k = std::max(1, which - 4); k <= std::min(int(knots.size()) - 2, which + 3); ++k) price(k);
    }
}

// A logger left running while the train stands gives nothing to fit, but the
// cut's work grows with the square of the fixes in one piece: inside a stand
// longer than kLongStand seconds (the smoothed distance moving less than
// kStandMetres), one fix in kStandStep seconds is kept, and its first and last.
constexpr double kLongStand = 120, kStandStep = 5, kStandMetres = 0.05;

void thinLongStands(std::vector<Obs>& obs, std::vector<Obs>& steady) {
    std::vector<Obs> o, s;
    o.reserve(obs.size()), s.reserve(obs.size());
    for (size_t i = 0; i < obs.size();) {
        size_t j = i + 1;
        while (j < obs.size() && steady[j].d - steady[i].d < kStandMetres) ++j;
        // Fixes i … j - 1 stand.
        const bool thin = obs[j - 1].t - obs[i].t > kLongStand;
        double kept = -1e300;
        for (size_t k = i; k < j; ++k) {
            if (thin && k != i && k + 1 != j && obs[k].t - kept < kStandStep) continue;
            o.push_back(obs[k]), s.push_back(steady[k]);
            kept = obs[k].t;
        }
        i = j;
    }
    obs.swap(o);
    steady.swap(s);
}

}  // namespace

SpeedCurve fitSpeedCurve(const std::vector<PathSample>& samples, const CurveOptions& o) {
    // The cut reads the smoothed distances, whose fix-to-fix speeds are
    // steadier; the fit reads each fix's own, which keep the corners sharp.
    std::vector<Obs> obs, steady;
    for (const PathSample& s : samples)
        if (obs.empty() || s.time > obs.back().t) {
            obs.push_back({s.time, s.ownDistance()});
            steady.push_back({s.time, o.cutOnOwnDistance ? s.ownDistance() : s.distance});
        }
    SpeedCurve curve;
    if (obs.size() < 2) {
        curve.times = {obs.empty() ? 0 : obs[0].t};
        curve.speeds = {0};
        return curve;
    }
    const double span = obs.back().t - obs.front().t;
    const double usual = span / double(obs.size() - 1);
    thinLongStands(obs, steady);
    const size_t minPiece = std::max<size_t>(3, size_t(std::ceil(o.minPieceSeconds / usual - 1e-9)));
    std::vector<double> knots{obs.front().t};
    for (size_t c : cutSpeeds(steady, o.penalty, minPiece)) knots.push_back(obs[c].t);
    knots.push_back(obs.back().t);

    const double gap = std::max(usual, o.minPieceSeconds / 3);
    placeAll(knots, gap, obs);

    if (o.removal > 0) dropSpareKnots(knots, gap, o.removal, obs);

    // The speed at each knot from the fit centred on it.
    curve.times = knots;
    curve.speeds.resize(knots.size());
    for (int k = 0; k < int(knots.size()); ++k) {
        std::array<double, kMaxKnots> v{};
        int lo = 0;
        if (fitAround(knots, k, 3, obs, v.data(), &lo) < kInf) {
            curve.speeds[size_t(k)] = v[size_t(k - lo)];
        } else {
            // No fit (knots crowded past the fixes): the mean speed round it.
            const size_t before = size_t(std::max(0, k - 1)), after = std::min(knots.size() - 1, size_t(k + 1));
            const auto [a, b] = within(obs, knots[before], knots[after]);
            const size_t x = std::min(a, obs.size() - 2), y = std::max(b, x + 2) - 1;
            curve.speeds[size_t(k)] = (obs[y].d - obs[x].d) / (obs[y].t - obs[x].t);
        }
    }
    return curve;
}

}  // namespace ts::gps
