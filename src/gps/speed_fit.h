// The recorded speed as [SpeedUnit] rows: a piecewise-linear curve through
// whole km/h knots, each row reaching as far as it can while the speed the run
// interpolates from it (rounded, as the run rounds it) stays within the
// tolerance at every frame. Rows share their end frames, so there are no gaps
// and no row of a single frame; no knot is below the crawl speed.
#pragma once
#include <vector>

#include "data/route_data.h"

namespace ts::gps {

struct SpeedFit {
    std::vector<Speed_UnitData> rows;
    double tolerance = 0;     // km/h actually kept (raised when the rows would not fit)
    double largestError = 0;  // km/h, over every frame
};

// `speedKmh` per frame (at least two frames); `tolerance` at least 0.5 km/h.
SpeedFit fitSpeedRows(const std::vector<double>& speedKmh, double tolerance, int crawlKmh, int maxRows = kRouteRows);

// The speed the run takes from `rows` at `frame`, as the simulation step computes it.
int recordedSpeedAt(const std::vector<Speed_UnitData>& rows, int frame);

}  // namespace ts::gps
