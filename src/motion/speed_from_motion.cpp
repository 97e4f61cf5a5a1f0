#include "motion/speed_from_motion.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "gps/speed_fit.h"
#include "text/our_text.h"

namespace ts::motion {

namespace {

// Relative distance per frame to km/h: metres per frame times 30 frames a second times 3.6.
constexpr double kPerFrameToKmh = 30 * 3.6;

std::string markName(const std::vector<DistanceMark>& marks, size_t i) {
    std::ostringstream o;
    o << "mark " << i + 1 << " (frame " << marks[i].frame << ", " << marks[i].metres << " m)";
    return o.str();
}

// The scale of each frame: each stretch between two marks its own, eased into
// the next over the frames around the mark where the train moves, so that the
// speed has no step where it runs past a kilometre post; outside the marks the
// nearest stretch's.
std::vector<double> scales(const MotionShape& shape, const std::vector<DistanceMark>& marks,
                           const std::vector<double>& stretch) {
    const int n = int(shape.rate.size());
    std::vector<double> c(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        size_t k = 0;
        while (k + 1 < stretch.size() && i > marks[k + 1].frame) ++k;
        c[size_t(i)] = stretch[k];
    }
    constexpr int kEase = 90;  // 3 s either side
    for (size_t m = 1; m + 1 < marks.size(); ++m) {
        const int at = marks[m].frame;
        for (int i = std::max(0, at - kEase); i <= std::min(n - 1, at + kEase); ++i) {
            const double t = double(i - (at - kEase)) / (2 * kEase);
            c[size_t(i)] = stretch[m - 1] * (1 - t) + stretch[m] * t;
        }
    }
    return c;
}

}  // namespace

std::vector<DistanceMark> marksFromStations(const std::vector<StationData>& stations) {
    std::vector<DistanceMark> marks;
    double at = 0;
    for (const StationData& s : stations) {
        if (s.kind == 1) continue;
        marks.push_back({(s.stopFrom + s.stopTo) / 2, at});
        if (s.nextStopDistance <= 0) break;
        at += s.nextStopDistance / 100.0;
    }
    return marks;
}

MotionShape withFlowExponent(const MotionShape& shape, double exponent) {
    MotionShape s = shape;
    if (exponent == 1) return s;
    for (double& v : s.rate) v = v > 0 ? std::pow(v, exponent) : 0;
    for (size_t i = 1; i < s.travelled.size(); ++i) s.travelled[i] = s.travelled[i - 1] + s.rate[i];
    return s;
}

// The one scale that fits all pairs of neighbouring marks best (least
// squares, so weighted by length): each pair's distance under it, and their
// spread as a share (how far the speed's shape may be off between marks).
struct OneScale {
    std::vector<MarkPair> pairs;
    double spread = 0;
};

OneScale oneScaleFor(const MotionShape& shape, const std::vector<DistanceMark>& marks) {
    OneScale o;
    double num = 0, den = 0;
    for (size_t i = 1; i < marks.size(); ++i) {
        const double rel = shape.between(marks[i - 1].frame, marks[i].frame);
        const double d = marks[i].metres - marks[i - 1].metres;
        num += rel * d;
        den += rel * rel;
    }
    if (den <= 0) return o;
    const double one = num / den;
    double spread = 0;
    for (size_t i = 1; i < marks.size(); ++i) {
        const double d = marks[i].metres - marks[i - 1].metres;
        const double given = one * shape.between(marks[i - 1].frame, marks[i].frame);
        o.pairs.push_back({int(i - 1), int(i), d, given});
        spread += (given / d - 1) * (given / d - 1);
    }
    o.spread = std::sqrt(spread / double(o.pairs.size()));
    return o;
}

double flowExponentForMarks(const MotionShape& shape, const std::vector<DistanceMark>& marks) {
    if (marks.size() < 3) return 1;
    const double asMeasured = oneScaleFor(shape, marks).spread;
    double best = 1, bestSpread = asMeasured;
    constexpr double kStep = 0.005;
    for (double e = kLeastFlowExponent; e <= kMostFlowExponent + kStep / 2; e += kStep) {
        const double spread = oneScaleFor(withFlowExponent(shape, e), marks).spread;
        if (spread < bestSpread - 1e-12) best = e, bestSpread = spread;
    }
    // Only where the marks clearly call for it. Stretches that already agree
    // within kAgreeing need nothing; stretches run alike (the same start,
    // run and stop between every pair of stations) agree about as well under
    // any power, and their best one says nothing. So the flow as measured
    // must leave the stretches apart, and the best power lie inside the
    // range and at least halve their spread.
    constexpr double kAgreeing = 0.01;
    const bool atEnd = best < kLeastFlowExponent + kStep / 2 || best > kMostFlowExponent - kStep / 2;
    if (asMeasured < kAgreeing || atEnd || bestSpread > 0.5 * asMeasured) return 1;
    return best;
}

SpeedResult fitSpeed(const MotionShape& measured, const SpeedRequest& req) {
    SpeedResult r;
    MotionShape shape = measured;
    r.standstills = shape.standstills;
    const int n = int(shape.rate.size());
    if (n < 2 || shape.between(0, n - 1) <= 0) {
        r.error = trText("SpeedFromVideo", "the video shows no motion: no speed can be taken from it");
        return r;
    }
    const auto& marks = req.marks;
    for (size_t i = 0; i < marks.size(); ++i) {
        if (marks[i].frame < 0 || marks[i].frame >= n) {
            r.error = markName(marks, i) + " lies outside the video (frames 0-" + std::to_string(n - 1) + ")";
            return r;
        }
        if (i == 0) continue;
        if (marks[i].frame <= marks[i - 1].frame) {
            r.error = markName(marks, i) + " is out of order: its frame is not after " + markName(marks, i - 1);
            return r;
        }
        if (marks[i].metres <= marks[i - 1].metres) {
            r.error = markName(marks, i) + " gives a negative or no distance from " + markName(marks, i - 1);
            return r;
        }
        if (shape.between(marks[i - 1].frame, marks[i].frame) <= 0) {
            r.error = markName(marks, i) + " and " + markName(marks, i - 1) +
                      " lie on one standstill: the train does not move between them";
            return r;
        }
    }
    r.flowExponent = flowExponentForMarks(shape, marks);
    shape = withFlowExponent(shape, r.flowExponent);
    std::vector<double> stretch;
    if (marks.size() >= 2) {
        // One scale for all pairs, for the summary's check of the shape; then
        // each stretch its own.
        OneScale all = oneScaleFor(shape, marks);
        r.pairs = std::move(all.pairs);
        r.shapeError = all.spread;
        for (size_t i = 1; i < marks.size(); ++i)
            stretch.push_back((marks[i].metres - marks[i - 1].metres) /
                              shape.between(marks[i - 1].frame, marks[i].frame));
    } else if (req.known) {
        const KnownSpeed& k = *req.known;
        if (k.frame < 0 || k.frame >= n) {
            r.error = withArgs(trText("SpeedFromVideo", "the known speed's frame %1 lies outside the video"),
                               {std::to_string(k.frame)});
            return r;
        }
        if (k.kmh <= 0 || k.kmh > kMaxPlausibleKmh) {
            r.error =
                withArgs(trText("SpeedFromVideo", "the known speed at frame %1 must be above 0 and at most 400 km/h"),
                         {std::to_string(k.frame)});
            return r;
        }
        if (shape.standstillAt(k.frame) || shape.rate[size_t(k.frame)] <= 0) {
            r.error =
                withArgs(trText("SpeedFromVideo",
                                "the known speed at frame %1 lies on a standstill: the picture does not move there"),
                         {std::to_string(k.frame)});
            return r;
        }
        stretch.push_back(k.kmh / kPerFrameToKmh / shape.rate[size_t(k.frame)]);
    } else {
        r.error = trText("SpeedFromVideo", "give at least two distance marks, or a known speed at one frame");
        return r;
    }
    std::vector<DistanceMark> ends = marks;
    if (ends.size() < 2) ends = {{0, 0}, {n - 1, 0}};
    const std::vector<double> c = scales(shape, ends, stretch);
    r.kmh.resize(size_t(n));
    for (int i = 0; i < n; ++i) r.kmh[size_t(i)] = c[size_t(i)] * shape.rate[size_t(i)] * kPerFrameToKmh;
    // The easing moves a little distance across each mark: give every stretch
    // back exactly its marked distance.
    for (size_t m = 1; m < marks.size(); ++m) {
        double got = 0;
        for (int i = marks[m - 1].frame + 1; i <= marks[m].frame; ++i) got += r.kmh[size_t(i)] / kPerFrameToKmh;
        const double want = marks[m].metres - marks[m - 1].metres;
        if (got <= 0) continue;
        for (int i = marks[m - 1].frame + 1; i <= marks[m].frame; ++i) r.kmh[size_t(i)] *= want / got;
    }
    for (int i = 0; i < n; ++i)
        if (r.kmh[size_t(i)] > kMaxPlausibleKmh) {
            size_t m = 0;
            while (m + 1 < marks.size() && marks[m + 1].frame < i) ++m;
            std::ostringstream o;
            o << "the marks imply " << std::lround(r.kmh[size_t(i)]) << " km/h at frame " << i;
            if (m + 1 < marks.size())
                o << ", between " << markName(marks, m) << " and " << markName(marks, m + 1);
            else if (!marks.empty())
                o << ", after " << markName(marks, m);
            r.error = o.str() + ": no train runs that fast";
            r.kmh.clear();
            return r;
        }
    const gps::SpeedFit fit = gps::fitSpeedRows(r.kmh, req.toleranceKmh, req.crawlKmh);
    r.rows = fit.rows;
    r.tolerance = fit.tolerance;
    r.largestRowError = fit.largestError;
    return r;
}

}  // namespace ts::motion
