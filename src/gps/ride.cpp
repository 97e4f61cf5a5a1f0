#include "gps/ride.h"
#include "text/our_text.h"

#include <cstdio>
#include <sstream>
#include <string>

namespace ts::gps {

namespace {

std::string seconds(double s) {
    char b[32];
    std::snprintf(b, sizeof b, "%.1f s", s);
    return b;
}

}  // namespace

Ride joinSegments(const Track& track) {
    Ride ride;
    bool first = true;
    double last = 0;
    for (const auto& segment : track.segments) {
        for (const TrackPoint& p : segment) {
            if (!p.hasTime())
                throw ImportError(
                    trText("GpsImport", "a track point has no <time>; the speed cannot be known without times"),
                    p.line);
            if (first) {
                ride.startEpoch = p.time;
                first = false;
            } else if (p.time < last) {
                throw ImportError(
                    withArgs(
                        trText("GpsImport", "the track's time goes backwards here (%1 earlier than the point before)"),
                        {seconds(last - p.time)}),
                    p.line);
            } else if (p.time == last) {
                continue;  // a logger that writes a fix twice
            }
            last = p.time;
            TrackPoint q = p;
            q.time = p.time - ride.startEpoch;
            ride.points.push_back(q);
        }
    }
    if (ride.points.empty())
        throw ImportError(trText("GpsImport", "the file holds no track points (<trkpt> in <trk>/<trkseg>)"));
    if (ride.points.size() < 2)
        throw ImportError(trText("GpsImport", "the track has a single point; a ride needs many"), ride.points[0].line);
    return ride;
}

void checkCoverage(const Ride& ride, const Alignment& align, int frames, double maxGapSeconds) {
    const double from = align.timeOf(0), to = align.timeOf(frames - 1);
    const TrackPoint& a = ride.points.front();
    const TrackPoint& z = ride.points.back();
    // A camera that started (or stopped) a moment before the logger is bridged like a gap.
    if (from < a.time - maxGapSeconds) {
        throw ImportError(
            withArgs(
                trText("GpsImport",
                       "the track is shorter than the video: frame 0 shows the ride %1 before the track's first point"),
                {seconds(a.time - from)}),
            a.line);
    }
    if (to > z.time + maxGapSeconds) {
        std::ostringstream m;
        m << "the track is shorter than the video: its last point is " << seconds(to - z.time)
          << " before the video's last frame (" << frames - 1 << ")";
        throw ImportError(m.str(), z.line);
    }
    for (size_t i = 1; i < ride.points.size(); ++i) {
        const TrackPoint& p = ride.points[i - 1];
        const TrackPoint& q = ride.points[i];
        // Only a gap while the video runs matters.
        if (q.time < from || p.time > to) continue;
        if (q.time - p.time > maxGapSeconds) {
            throw ImportError(
                withArgs(trText("GpsImport", "the track has a gap of %1 before this point (at most %2 can be bridged)"),
                         {seconds(q.time - p.time), seconds(maxGapSeconds)}),
                q.line);
        }
    }
}

}  // namespace ts::gps
