#include "gps/stations.h"

#include <GeographicLib/LocalCartesian.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "gps/track.h"
#include "text/our_text.h"

namespace ts::gps {

namespace {

constexpr double kStandKmh = 1;
constexpr int kDepartureLeadTicks = 20 * 30;  // the departure sound before moving off
constexpr int kCloseLeadTicks = 10 * 30;      // the doors closed before moving off

bool stops(const StationData& s) { return s.kind == 0 || s.kind == 2; }
int centre(const StationData& s) { return (s.stopFrom + s.stopTo) / 2; }

// The ride's time when the train is nearest the waypoint, and how near it comes.
// The track's time nearest the waypoint among the fixes from `from` to `to`
// (seconds): a terminus the train stands short of stays in the video although
// the track, logged on, comes nearer later.
double nearestApproach(const Ride& ride, const Waypoint& w, double from, double to, double& gap) {
    const GeographicLib::LocalCartesian plane(w.lat, w.lon, 0);
    std::vector<double> x(ride.points.size()), y(ride.points.size());
    size_t best = 0;
    gap = 1e300;
    for (size_t i = 0; i < ride.points.size(); ++i) {
        double z;
        plane.Forward(ride.points[i].lat, ride.points[i].lon, 0, x[i], y[i], z);
        if (ride.points[i].time < from || ride.points[i].time > to) continue;
        const double d = std::hypot(x[i], y[i]);
        if (d < gap) gap = d, best = i;
    }
    if (gap == 1e300) return from - 1;
    // Where the waypoint projects between the nearest fix and a neighbour.
    double at = ride.points[best].time;
    for (size_t j : {best + 1, best - 1}) {
        if (j >= x.size()) continue;
        const double dx = x[j] - x[best], dy = y[j] - y[best];
        const double len2 = dx * dx + dy * dy;
        if (len2 <= 0) continue;
        const double t = (-x[best] * dx - y[best] * dy) / len2;
        if (t > 0 && t < 1) {
            at += t * (ride.points[j].time - ride.points[best].time);
            break;
        }
    }
    return at;
}

struct Stand {
    int from = -1, to = -1;  // frames of rest, inclusive
};

// The stop nearest along the track to `frame`, within `reach` metres of it.
Stand standNear(const FrameProfile& f, int frame, double reach, int minFrames) {
    const double d0 = f.distance[size_t(frame)];
    int lo = frame, hi = frame;
    while (lo > 0 && d0 - f.distance[size_t(lo - 1)] <= reach) --lo;
    while (hi + 1 < f.frames() && f.distance[size_t(hi + 1)] - d0 <= reach) ++hi;
    Stand best;
    double bestGap = 1e300;
    for (int i = lo; i <= hi;) {
        if (f.speedKmh[size_t(i)] >= kStandKmh) {
            ++i;
            continue;
        }
        int j = i;
        while (j + 1 <= hi && f.speedKmh[size_t(j + 1)] < kStandKmh) ++j;
        if (j - i + 1 >= minFrames) {
            const double gap = std::abs(f.distance[size_t(i)] - d0);
            if (gap < bestGap) bestGap = gap, best = {i, j};
        }
        i = j + 1;
    }
    return best;
}

std::string clockText(int ticks) {
    const int s = ticks / 30;
    char b[16];
    std::snprintf(b, sizeof b, "%02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
    return b;
}

// The run starts standing at its first station: a first stop placed a little
// way from [StartPos] (where the train stands at the start of the video) is
// widened to hold it, rather than leaving the start off its platform.
void keepStartInFirstStop(std::vector<StationData>& rows, const FrameProfile& frames, const StationOptions& o,
                          std::vector<std::string>& notes) {
    if (rows.empty() || !stops(rows[0])) return;
    StationData& first = rows[0];
    const int start = o.startPosition;
    if (start >= first.stopFrom && start <= first.stopTo) return;
    auto distanceAt = [&](int frame) { return frames.distance[size_t(std::clamp(frame, 0, frames.frames() - 1))]; };
    const int edge = start < first.stopFrom ? first.stopFrom : first.stopTo;
    if (std::abs(distanceAt(start) - distanceAt(edge)) > o.standSearchMetres) {
        notes.push_back(withArgs(
            trText("GpsImport", "[StartPos] %1 lies outside the first stop \"%2\" (frames %3-%4)"),
            {std::to_string(start), first.name, std::to_string(first.stopFrom), std::to_string(first.stopTo)}));
        return;
    }
    first.stopFrom = std::min(first.stopFrom, start);
    first.stopTo = std::max(first.stopTo, start);
}

}  // namespace

void fillNextStopDistances(std::vector<StationData>& rows, const FrameProfile& frames) {
    auto distanceAt = [&](int frame) { return frames.distance[size_t(std::clamp(frame, 0, frames.frames() - 1))]; };
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i].nextStopDistance = 0;
        if (!stops(rows[i])) continue;
        for (size_t j = i + 1; j < rows.size(); ++j) {
            if (!stops(rows[j])) continue;
            rows[i].nextStopDistance =
                int(std::lround((distanceAt(centre(rows[j])) - distanceAt(centre(rows[i]))) * 100));
            break;
        }
    }
}

StationImport importStations(const Ride& ride, const Alignment& align, const FrameProfile& frames,
                             const std::vector<Waypoint>& waypoints, const std::vector<StationData>& existing,
                             const StationOptions& o) {
    StationImport out;
    std::vector<bool> moved(existing.size(), false);
    std::vector<StationData> rows;
    const int last = frames.frames() - 1;
    // The run's clock at a frame when the train keeps to the recorded speed: a frame per tick.
    auto clockAt = [&](int frame) { return o.startTime + (frame - o.startPosition); };
    for (const Waypoint& w : waypoints) {
        double gap = 0;
        double t = nearestApproach(ride, w, align.timeOf(0), align.timeOf(last), gap);
        if (gap > o.nearMetres) {
            // Outside the video it may come near: said so below.
            double whole = 0;
            const double anywhere = nearestApproach(ride, w, -1e300, 1e300, whole);
            if (whole <= o.nearMetres) t = anywhere, gap = whole;
        }
        if (gap > o.nearMetres) {
            char b[64];
            std::snprintf(b, sizeof b, "%.0f", gap);
            out.notes.push_back(
                withArgs(trText("GpsImport", "waypoint \"%1\" (line %2) is %3 m from the track: not a station of it"),
                         {w.name, std::to_string(w.line), b}));
            continue;
        }
        const double exact = (t - align.frame0Seconds) / align.secondsPerFrame;
        if (exact < 0 || exact > last) {
            out.notes.push_back(withArgs(
                trText("GpsImport", "waypoint \"%1\" (line %2) is passed outside the video: not a station of it"),
                {w.name, std::to_string(w.line)}));
            continue;
        }
        if (w.name.empty()) throw ImportError(trText("GpsImport", "a waypoint near the track has no <name>"), w.line);
        if (w.name.find(',') != std::string::npos)
            throw ImportError(
                withArgs(
                    trText("GpsImport", "the waypoint's name \"%1\" has a comma, which a [Station] row cannot hold"),
                    {w.name}),
                w.line);
        int frame = int(std::lround(exact));
        const Stand stand =
            standNear(frames, frame, o.standSearchMetres, int(std::ceil(o.standSeconds / align.secondsPerFrame)));
        if (stand.from >= 0) frame = stand.from;

        StationData row;
        row.name = w.name;
        int before = o.halfRangeFrames, after = o.halfRangeFrames;
        const auto same =
            std::find_if(existing.begin(), existing.end(), [&](const StationData& s) { return s.name == w.name; });
        auto trackTimes = [&] {
            const int off = clockAt(stand.to);
            row.departureTime = std::max(clockAt(stand.from), off - kDepartureLeadTicks);
            row.closeTime = std::max(row.departureTime, off - kCloseLeadTicks);
        };
        if (same != existing.end()) {
            row = *same;
            moved[size_t(same - existing.begin())] = true;
            const int width = std::max(1, same->stopTo - same->stopFrom);
            before = width / 2;
            after = width - before;
            // A station placed by hand keeps its kind and range width; where the
            // train stood there, the track's times replace the placeholders.
            if (stand.from >= 0 && row.kind != 1 && !o.keepTimes) {
                const int departure = row.departureTime, close = row.closeTime;
                trackTimes();
                if (row.departureTime != departure || row.closeTime != close)
                    out.notes.push_back(withArgs(
                        trText("GpsImport", "station \"%1\" takes the track's times (departure %2, doors closed %3)"),
                        {w.name, clockText(row.departureTime), clockText(row.closeTime)}));
            }
        } else if (stand.from >= 0) {
            row.kind = 0;
            trackTimes();
        } else {
            row.kind = 1;
        }
        row.stopFrom = std::max(0, frame - before);
        row.stopTo = std::min(last, frame + after);
        if (row.stopTo <= row.stopFrom) row.stopTo = row.stopFrom + 1;
        rows.push_back(row);
    }
    for (size_t i = 0; i < existing.size(); ++i) {
        if (moved[i]) continue;
        rows.push_back(existing[i]);
        out.notes.push_back(withArgs(
            trText("GpsImport", "station \"%1\" has no waypoint in the track: kept where it was"), {existing[i].name}));
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const StationData& a, const StationData& b) { return a.stopFrom < b.stopFrom; });
    keepStartInFirstStop(rows, frames, o, out.notes);
    fillNextStopDistances(rows, frames);
    out.rows = std::move(rows);
    return out;
}

}  // namespace ts::gps
