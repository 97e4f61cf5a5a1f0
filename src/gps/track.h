// A GPS track of a cab ride as the importer sees it: timed positions in
// segments, named waypoints, and the line of the file each came from so that
// a complaint can point at it.
#pragma once
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace ts::gps {

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

struct TrackPoint {
    double lat = 0, lon = 0;  // degrees, WGS-84
    double ele = kNoValue;    // metres, NaN when the point has none
    double time = kNoValue;   // seconds since the epoch (UTC), NaN when the point has none
    double speed = kNoValue;  // m/s as the receiver measured it (<speed>), NaN when none
    int line = 0;             // line of the file, 0 when not from a file

    bool hasEle() const { return !std::isnan(ele); }
    bool hasTime() const { return !std::isnan(time); }
    bool hasSpeed() const { return !std::isnan(speed); }
};

struct Waypoint {
    double lat = 0, lon = 0;
    std::string name;  // UTF-8
    int line = 0;
};

struct Track {
    std::vector<std::vector<TrackPoint>> segments;
    std::vector<Waypoint> waypoints;
};

// Bad input: what is wrong, and the line of the file where it applies (0 when
// it applies to the whole file). Nothing is written after one.
struct ImportError : std::runtime_error {
    ImportError(const std::string& what, int line = 0) : std::runtime_error(what), line(line) {}
    int line;
};

}  // namespace ts::gps
