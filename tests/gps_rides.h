// Synthetic GPS tracks for the importer's tests: a train's distance over time
// laid along a geodesic heading east from 35 N 139 E, written as GPX text,
// with optional jitter from a fixed seed.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace ts::test {

struct RidePlan {
    std::function<double(double)> distance;          // metres at t seconds after the first fix
    std::function<double(double)> height = nullptr;  // metres at a distance; none: no <ele>
    std::function<double(double)> speed = nullptr;   // m/s at t, the receiver's; none: no <speed>
    bool speedInExtensions = false;                  // in a logger's <extensions>, not GPX 1.0's <speed>
    double seconds = 100;                            // the last fix
    double every = 1;                                // seconds between fixes
    double jitterMetres = 0;                         // sd of the position noise
    unsigned seed = 1;
    std::vector<double> segmentBreaks;            // times where a new <trkseg> starts
    std::vector<std::pair<double, double>> gaps;  // [from, to) without fixes
    struct Stop {
        std::string name;
        double metres;
        double sideMetres;
    };
    std::vector<Stop> waypoints;
};

std::string rideGpx(const RidePlan& plan);

// A position `metres` along the line, `side` metres to its north.
void rideLatLon(double metres, double side, double& lat, double& lon);

}  // namespace ts::test
