// Distance run along the ride from the GPS fixes: fixes that imply an
// impossible jump or speed are dropped, the rest are averaged over a few
// seconds, and distance only grows once the position has left a small circle
// round where the train was, so that a standing train's wander is no motion.
// Distances are geodesic on the WGS-84 ellipsoid.
#pragma once
#include <vector>

#include "gps/ride.h"

namespace ts::gps {

struct PathOptions {
    double maxSpeedKmh = 300;      // faster than any train: a fix implying more is dropped
    double maxOffsetMetres = 15;   // a fix this far off the line between its neighbours is dropped
    double smoothSeconds = 3;      // positions are averaged over this window
    double standRadiusMetres = 5;  // movement within this circle is wander
};

struct PathSample {
    double time = 0;      // seconds after the first point
    double distance = 0;  // metres from the first point, never decreasing
    double ele = kNoValue;
    // The distance of the fix itself: `distance` plus how far the fix lies
    // ahead of or behind the smoothed position along the way the train goes.
    // It keeps the fixes' noise (and may go back), but not the smoothing's
    // rounding of a sudden change of speed; the speed is fitted to it. NaN
    // when not measured: then the distance stands for it.
    double along = kNoValue;
    bool hasEle() const { return !std::isnan(ele); }
    double ownDistance() const { return std::isnan(along) ? distance : along; }
};

struct RidePath {
    std::vector<PathSample> samples;
    int droppedFixes = 0;
    // Every kept fix had the receiver's own speed, and `along` is its
    // integral: steadier than any distance between positions.
    bool receiverSpeeds = false;
    double length() const { return samples.empty() ? 0 : samples.back().distance; }
};

// Throws ImportError when fewer than two fixes are left after the jitter.
RidePath measureRide(const Ride& ride, const PathOptions& options = {});

// Geodesic distance in metres between two positions on WGS-84.
double geodesicMetres(double lat1, double lon1, double lat2, double lon2);

}  // namespace ts::gps
