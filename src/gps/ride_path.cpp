#include "gps/ride_path.h"
#include "text/our_text.h"

#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/LocalCartesian.hpp>

#include <algorithm>
#include <cmath>
#include <string>

namespace ts::gps {

namespace {

struct Local {
    double x, y, z;
};

double planar(const Local& a, const Local& b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Distance of p from the segment a-b, on the local plane.
double offChord(const Local& p, const Local& a, const Local& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Each fix's own distance: its offset from its smoothed position along the
// way the train goes (the line between the smoothed positions either side
// while it moves, the way it last went, or goes next, while it stands) added
// to the distance.
void addOwnOffsets(const std::vector<Local>& local, const std::vector<Local>& smooth, const std::vector<size_t>& good,
                   RidePath& path) {
    const size_t n = good.size();
    std::vector<double> ux(n, 0.0), uy(n, 0.0);
    std::vector<bool> known(n, false);
    for (size_t k = 0; k < n; ++k) {
        const size_t a = k > 0 ? k - 1 : k, b = std::min(k + 1, n - 1);
        const double flat = planar(smooth[a], smooth[b]);
        if (path.samples[b].distance <= path.samples[a].distance || flat <= 0) continue;
        ux[k] = (smooth[b].x - smooth[a].x) / flat, uy[k] = (smooth[b].y - smooth[a].y) / flat;
        known[k] = true;
    }
    for (int pass = 0; pass < 2; ++pass) {  // forwards, then backwards for a ride that begins standing
        for (size_t i = 1; i < n; ++i) {
            const size_t k = pass == 0 ? i : n - 1 - i, neighbour = pass == 0 ? k - 1 : k + 1;
            if (!known[k] && known[neighbour]) ux[k] = ux[neighbour], uy[k] = uy[neighbour], known[k] = true;
        }
    }
    for (size_t k = 0; k < n; ++k) {
        PathSample& q = path.samples[k];
        const Local& raw = local[good[k]];
        q.along = q.distance + (raw.x - smooth[k].x) * ux[k] + (raw.y - smooth[k].y) * uy[k];
    }
}

// A receiver that measures its speed (from the Doppler shift, to a tenth of a
// metre a second) tells the distance between fixes far better than their
// positions do: then each fix's own distance is the integral of its speeds.
void integrateSpeeds(const std::vector<TrackPoint>& pts, const std::vector<size_t>& good, RidePath& path) {
    path.samples[0].along = path.samples[0].distance;
    for (size_t k = 1; k < good.size(); ++k) {
        const TrackPoint &a = pts[good[k - 1]], &b = pts[good[k]];
        path.samples[k].along = path.samples[k - 1].along + (a.speed + b.speed) / 2 * (b.time - a.time);
    }
}

}  // namespace

double geodesicMetres(double lat1, double lon1, double lat2, double lon2) {
    double s = 0;
    GeographicLib::Geodesic::WGS84().Inverse(lat1, lon1, lat2, lon2, s);
    return s;
}

RidePath measureRide(const Ride& ride, const PathOptions& o) {
    const auto& pts = ride.points;
    const GeographicLib::LocalCartesian plane(pts[0].lat, pts[0].lon, 0);
    std::vector<Local> local(pts.size());
    for (size_t i = 0; i < pts.size(); ++i)
        plane.Forward(pts[i].lat, pts[i].lon, 0, local[i].x, local[i].y, local[i].z);

    // A fix thrown off sideways: far from the line between its neighbours and
    // far from both. Repeated until none is left, so that a run of two bad
    // fixes goes as well.
    std::vector<size_t> kept(pts.size());
    for (size_t i = 0; i < kept.size(); ++i) kept[i] = i;
    for (bool changed = true; changed && kept.size() > 2;) {
        changed = false;
        std::vector<size_t> next{kept[0]};
        for (size_t k = 1; k + 1 < kept.size(); ++k) {
            const Local& p = local[kept[k]];
            const Local& a = local[next.back()];
            const Local& b = local[kept[k + 1]];
            if (offChord(p, a, b) > o.maxOffsetMetres && planar(p, a) > o.maxOffsetMetres &&
                planar(p, b) > o.maxOffsetMetres) {
                changed = true;
                continue;
            }
            next.push_back(kept[k]);
        }
        next.push_back(kept.back());
        kept.swap(next);
    }
    // A fix that runs ahead along the line: faster than any train from the last good one.
    // The first fix is tested against the two after it, since it has none before.
    const double maxSpeed = o.maxSpeedKmh / 3.6;
    auto tooFast = [&](size_t a, size_t b) {
        const double dt = pts[b].time - pts[a].time;
        return planar(local[a], local[b]) > maxSpeed * dt + o.maxOffsetMetres;
    };
    std::vector<size_t> good;
    for (size_t k = 0; k < kept.size(); ++k) {
        if (good.empty()) {
            if (k + 2 < kept.size() && tooFast(kept[k], kept[k + 1]) && !tooFast(kept[k + 1], kept[k + 2])) continue;
            good.push_back(kept[k]);
        } else if (!tooFast(good.back(), kept[k])) {
            good.push_back(kept[k]);
        }
    }

    if (good.size() < 2) {
        throw ImportError(
            withArgs(
                trText(
                    "GpsImport",
                    "only %1 of the track's %2 fixes are usable: the others jump further than a train can run from it"),
                {std::to_string(good.size()), std::to_string(pts.size())}),
            pts[1].line);
    }
    RidePath path;
    path.droppedFixes = int(pts.size() - good.size());
    // Positions smoothed over a window round each fix by a straight-line fit
    // in time, which, unlike a plain mean, stays unbiased where the window is
    // lopsided: at the ends of the ride and beside a gap.
    const double half = o.smoothSeconds / 2;
    std::vector<Local> smooth(good.size());
    size_t lo = 0;
    for (size_t k = 0; k < good.size(); ++k) {
        const double t = pts[good[k]].time;
        while (pts[good[lo]].time < t - half) ++lo;
        double st = 0, sx = 0, sy = 0, sz = 0;
        size_t hi = lo;
        for (; hi < good.size() && pts[good[hi]].time <= t + half; ++hi) {
            st += pts[good[hi]].time - t;
            sx += local[good[hi]].x, sy += local[good[hi]].y, sz += local[good[hi]].z;
        }
        const double n = double(hi - lo), mt = st / n;
        double stt = 0, stx = 0, sty = 0, stz = 0;
        for (size_t j = lo; j < hi; ++j) {
            const double d = pts[good[j]].time - t - mt;
            stt += d * d;
            stx += d * local[good[j]].x, sty += d * local[good[j]].y, stz += d * local[good[j]].z;
        }
        const double bx = stt > 0 ? stx / stt : 0, by = stt > 0 ? sty / stt : 0, bz = stt > 0 ? stz / stt : 0;
        smooth[k] = {sx / n - bx * mt, sy / n - by * mt, sz / n - bz * mt};
    }

    // Distance grows only when the position leaves the circle round the mean
    // of the positions since the last step: a standing train's wander stays
    // inside it. The step is measured from where the last step ended, and the
    // fixes in between are placed along it by how far they had come, so that a
    // train moving off does not seem to stand until it leaves the circle.
    size_t from = 0;  // the fix where the last step ended
    Local mean = smooth[0];
    double distance = 0;
    path.samples.resize(good.size());
    for (size_t k = 0; k < good.size(); ++k) path.samples[k] = {pts[good[k]].time, 0, pts[good[k]].ele};
    // A step from where the last one ended to fix k.
    auto stepTo = [&](size_t k) {
        const Local& p = smooth[k];
        const Local& a = smooth[from];
        double lat1, lon1, lat2, lon2, h;
        plane.Reverse(a.x, a.y, a.z, lat1, lon1, h);
        plane.Reverse(p.x, p.y, p.z, lat2, lon2, h);
        const double step = geodesicMetres(lat1, lon1, lat2, lon2);
        const double flat = planar(a, p);
        const double ux = (p.x - a.x) / flat, uy = (p.y - a.y) / flat;
        double reached = 0;
        for (size_t j = from + 1; j < k; ++j) {
            const double along = ((smooth[j].x - a.x) * ux + (smooth[j].y - a.y) * uy) / flat;
            reached = std::clamp(along, reached, 1.0);
            path.samples[j].distance = distance + reached * step;
        }
        distance += step;
        path.samples[k].distance = distance;
        from = k;
        mean = p;
    };
    for (size_t k = 1; k < good.size(); ++k) {
        const Local& p = smooth[k];
        if (planar(p, mean) < o.standRadiusMetres) {
            const double n = double(k - from + 1);
            mean = {mean.x + (p.x - mean.x) / n, mean.y + (p.y - mean.y) / n, mean.z + (p.z - mean.z) / n};
            path.samples[k].distance = distance;
            continue;
        }
        stepTo(k);
    }
    // A track that ends while the train moves leaves its last fixes inside
    // the circle: a last step to the end when they have come more than half
    // its radius, which a standing train's averaged wander does not.
    const size_t last = good.size() - 1;
    if (from < last && planar(smooth[last], smooth[from]) >= o.standRadiusMetres / 2) stepTo(last);

    path.receiverSpeeds = std::all_of(good.begin(), good.end(), [&](size_t i) { return pts[i].hasSpeed(); });
    if (path.receiverSpeeds)
        integrateSpeeds(pts, good, path);
    else
        addOwnOffsets(local, smooth, good, path);
    return path;
}

}  // namespace ts::gps
