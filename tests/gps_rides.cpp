#include "gps_rides.h"

#include <GeographicLib/Geodesic.hpp>

#include <cmath>
#include <cstdio>
#include <random>

namespace ts::test {

void rideLatLon(double metres, double side, double& lat, double& lon) {
    const auto& g = GeographicLib::Geodesic::WGS84();
    double lat1, lon1;
    g.Direct(35.0, 139.0, 90.0, metres, lat1, lon1);
    if (side == 0) {
        lat = lat1, lon = lon1;
        return;
    }
    g.Direct(lat1, lon1, 0.0, side, lat, lon);
}

std::string rideGpx(const RidePlan& s) {
    std::mt19937 rng(s.seed);
    std::normal_distribution<double> noise(0, s.jitterMetres > 0 ? s.jitterMetres : 1);
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<gpx version=\"1.1\" creator=\"tests\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n";
    char b[256];
    for (const auto& w : s.waypoints) {
        double lat, lon;
        rideLatLon(w.metres, w.sideMetres, lat, lon);
        std::snprintf(b, sizeof b, "<wpt lat=\"%.8f\" lon=\"%.8f\"><name>%s</name></wpt>\n", lat, lon, w.name.c_str());
        out += b;
    }
    out += "<trk><name>ride</name><trkseg>\n";
    size_t nextBreak = 0;
    const long count = std::lround(s.seconds / s.every);
    for (long i = 0; i <= count; ++i) {
        const double t = double(i) * s.every;
        bool skip = false;
        for (const auto& g : s.gaps) skip = skip || (t >= g.first && t < g.second);
        if (skip) continue;
        if (nextBreak < s.segmentBreaks.size() && t >= s.segmentBreaks[nextBreak]) {
            out += "</trkseg><trkseg>\n";
            ++nextBreak;
        }
        const double d = s.distance(t);
        double lat, lon;
        rideLatLon(d, 0, lat, lon);
        if (s.jitterMetres > 0) {
            lat += noise(rng) / 110940.0;
            lon += noise(rng) / (111320.0 * std::cos(lat * M_PI / 180));
        }
        // 2024-05-01T09:00:00Z plus t.
        const long ms = std::lround(t * 1000);
        const long sec = ms / 1000;
        std::snprintf(b, sizeof b, "<trkpt lat=\"%.8f\" lon=\"%.8f\">", lat, lon);
        out += b;
        if (s.height) {
            std::snprintf(b, sizeof b, "<ele>%.3f</ele>", s.height(d));
            out += b;
        }
        std::snprintf(b, sizeof b, "<time>2024-05-01T%02ld:%02ld:%02ld.%03ldZ</time>", 9 + sec / 3600, sec / 60 % 60,
                      sec % 60, ms % 1000);
        out += b;
        if (s.speed) {
            const char* form = s.speedInExtensions
                                   ? "<extensions><gpxtpx:TrackPointExtension xmlns:gpxtpx=\"urn:logger\">"
                                     "<gpxtpx:speed>%.2f</gpxtpx:speed></gpxtpx:TrackPointExtension></extensions>"
                                   : "<speed>%.2f</speed>";
            std::snprintf(b, sizeof b, form, s.speed(t));
            out += b;
        }
        out += "</trkpt>\n";
    }
    out += "</trkseg></trk>\n</gpx>\n";
    return out;
}

}  // namespace ts::test
